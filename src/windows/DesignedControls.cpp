#include "windows/DesignedControls.h"

#include "windows/CommandButton.h"
#include "windows/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <limits>

namespace {

// The narrowest a substitute face is drawn; below it a caption would be hard to read.
constexpr int narrowest = 70;

// Room a caption has inside its control, and whether it fits there in these metrics.
struct Caption
{
    QRect room;
    int flags = 0;
    QString text;
    bool fits(const QFontMetrics &metrics) const { return room.contains(metrics.boundingRect(room, flags, text)); }
};

Caption captionOf(QWidget *control)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        return {label->contentsRect(), int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0), label->text()};
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        // The frame of a button takes a few pixels on each side.
        return {control->rect().marginsRemoved({3, 1, 3, 1}), Qt::AlignCenter | Qt::TextShowMnemonic, button->text()};
    }
    return {};
}

// Each font narrowed is one more font to load, so the narrowing goes at once to where the caption's
// width says it fits, and only then on a step at a time.
void narrowUntilItFits(QWidget *control)
{
    const Caption caption = captionOf(control);
    QFont font = control->font();
    if (caption.text.isEmpty() || caption.fits(QFontMetrics(font)))
        return;
    const QFontMetrics metrics(font);
    const int lines = qMax(1, caption.room.height() / metrics.lineSpacing());
    const qint64 width = qMax(1, metrics.horizontalAdvance(caption.text));
    const int drawn = font.stretch() == QFont::AnyStretch ? QFont::Unstretched : font.stretch();
    const qint64 estimate = qint64(drawn) * caption.room.width() * lines / width;
    int stretch = int(std::clamp<qint64>(estimate, narrowest, qMax(narrowest, drawn - 1)));
    for (;; --stretch) {
        font.setStretch(stretch);
        if (stretch <= narrowest || caption.fits(QFontMetrics(font)))
            break;
    }
    control->setFont(font);
}

} // namespace

QPushButton *DesignedControls::button(QWidget *parent, const char *name, const QString &text, const QRect &twips,
                                      const QFont &font)
{
    auto *button = new CommandButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(font);
    button->setAutoDefault(false);
    button->setDefault(false);
    Twips::place(button, twips.x(), twips.y(), twips.width(), twips.height());
    return button;
}

QLineEdit *DesignedControls::textBox(QWidget *parent, const char *name, const QRect &twips, const QString &accessibleName)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setAccessibleName(accessibleName);
    Twips::place(box, twips.x(), twips.y(), twips.width(), twips.height());
    return box;
}

void DesignedControls::fitCaptions(QWidget *window)
{
    for (QWidget *control : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        narrowUntilItFits(control);
}

void DesignedControls::paint(QWidget *widget, QPalette::ColorRole background, QPalette::ColorRole text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, palette.color(background));
    palette.setColor(QPalette::WindowText, palette.color(text));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

#include "windows/DesignedControls.h"

#include "windows/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <limits>

namespace {

// The narrowest a substitute face is drawn; below it a caption would be hard to read.
constexpr int narrowest = 70;

void narrowUntil(QWidget *control, const std::function<bool(const QFontMetrics &)> &fits)
{
    QFont font = control->font();
    while (!fits(QFontMetrics(font)) && font.stretch() - 5 >= narrowest) {
        font.setStretch(font.stretch() - 5);
        control->setFont(font);
    }
}

} // namespace

QPushButton *DesignedControls::button(QWidget *parent, const char *name, const QString &text, const QRect &twips,
                                      const QFont &font)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(font);
    button->setAutoDefault(false);
    button->setDefault(false);
    Twips::place(button, twips.x(), twips.y(), twips.width(), twips.height());
    // The frame of a button takes a few pixels on each side.
    narrowUntil(button, [button](const QFontMetrics &metrics) {
        return metrics.size(Qt::TextShowMnemonic, button->text()).grownBy({3, 1, 3, 1}).width() <= button->width();
    });
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

void DesignedControls::fitCaption(QLabel *label)
{
    narrowUntil(label, [label](const QFontMetrics &metrics) {
        const QRect room = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return room.contains(metrics.boundingRect(room, flags, label->text()));
    });
}

void DesignedControls::paint(QWidget *widget, QPalette::ColorRole background, QPalette::ColorRole text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, palette.color(background));
    palette.setColor(QPalette::WindowText, palette.color(text));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

#include "windows/DesignedControls.h"

#include "windows/Twips.h"

#include <QLineEdit>
#include <QPushButton>

#include <limits>

QPushButton *DesignedControls::button(QWidget *parent, const char *name, const QString &text, const QRect &twips,
                                      const QFont &font)
{
    auto *button = new QPushButton(text, parent);
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

void DesignedControls::paint(QWidget *widget, QPalette::ColorRole background, QPalette::ColorRole text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, palette.color(background));
    palette.setColor(QPalette::WindowText, palette.color(text));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

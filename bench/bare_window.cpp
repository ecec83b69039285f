// The floor for start-up: a bare Qt Widgets window with six buttons and a line edit.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(553, 324);
    auto *edit = new QLineEdit(&window);
    edit->setGeometry(192, 152, 41, 19);
    for (int i = 0; i < 6; ++i) {
        auto *button = new QPushButton(QStringLiteral("Button %1").arg(i + 1), &window);
        button->setGeometry(80 + (i % 3) * 100, 192 + (i / 3) * 32, 97, 25);
    }
    window.show();
    return app.exec();
}

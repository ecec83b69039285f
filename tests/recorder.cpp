// Stands in for the browser in the tests: writes the arguments it was given, as it received them,
// to a file beside itself, the count first, then each on a line.
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    QSaveFile seen(QCoreApplication::applicationFilePath() + QStringLiteral(".seen"));
    if (!seen.open(QIODevice::WriteOnly))
        return 1;
    seen.write(QByteArray::number(arguments.size()));
    for (const QString &argument : arguments)
        seen.write('\n' + argument.toUtf8());
    return seen.commit() ? 0 : 1;
}

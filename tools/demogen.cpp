// Writes a folder of realistic generated A-scans: 1.jpg ... N.jpg, plus a few files that a
// loading must leave out.
#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include "ascanwriter.h"

namespace {

const char *const Titles[] = {
    "Weld seam A1", "Шов 2, корень", "Pipe 159x6 north", "Рельс Р65 головка", "Flange bolt 4",
    "Сварной шов №17", "Boiler drum", "Ось колёсной пары", "Plate 20 mm lamination", "Контроль КСО",
};
const char *const Configurations[] = {
    "Weld 12 mm", "Сварка 8 мм", "Rail head", "Ось РУ1Ш", "Thickness", "Трубы 159",
};

// The instrument keeps at most 31 bytes of a title; cut on a character boundary.
QByteArray fitField(QString text, const QString &suffix)
{
    while ((text + suffix).toUtf8().size() > 31)
        text.chop(1);
    return (text.trimmed() + suffix).toUtf8();
}

AscanFields demoSpec(int number)
{
    AscanFields s;
    const int k = number * 7919;
    s.title = fitField(QString::fromUtf8(Titles[number % 10]), QStringLiteral(" #") + QString::number(number));
    s.configurationName = Configurations[(number / 3) % 6];
    s.probeType = number % 4 == 0 ? 1 : 0;
    s.frequencyIndex = quint8((number * 5) % 16);
    s.probeAngle = quint16(number % 5 == 0 ? 0 : 300 + (k % 5) * 50);
    s.delay = qint16(3 + k % 40);
    s.unitSystem = number % 9 == 0 ? 1 : 0;
    s.thicknessMm = quint32(400 + (k % 5000));
    s.thicknessInch = s.thicknessMm * 100 / 2540;
    s.thicknessSwitch = number % 11 == 0 ? 1 : 0;
    s.referenceSwitch = number % 3 == 0 ? 1 : 0;
    s.referenceLevel = qint16(300 + k % 250);
    s.correctionStandard = qint16(-20 + (k / 7) % 60);
    s.correctionRoughness = qint16(k % 40);
    s.strobeSwitch = number % 2 == 0 ? 0 : 1;
    s.reportingLevel = qint16(-6 - k % 4);
    s.examinationMonitor = qint16(-12 - k % 6);
    s.scaleMode = quint8(number % 3);
    s.discreteness = quint8(number % 4 == 1 ? 1 : 0);
    s.cursorSwitch = quint8(number % 5 == 2 ? 1 : 0);
    s.time[0] = quint16(8 + number % 10);
    s.time[1] = quint16((number * 13) % 60);
    s.date[0] = quint16(1 + number % 28);
    s.date[1] = quint16(1 + (number / 28) % 12);
    s.yearSince1900 = quint16(124 + number % 3);
    return s;
}

} // namespace

int main(int argc, char *argv[])
{
    // Draws into images only: it never needs a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes generated A-scan files into a folder."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Folder to write into."));
    parser.addPositionalArgument(QStringLiteral("count"), QStringLiteral("Number of A-scans (default 24)."));
    parser.process(application);
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty() || args.size() > 2)
        parser.showHelp(2);
    bool ok = true;
    const int count = args.size() == 2 ? args.at(1).toInt(&ok) : 24;
    QDir dir(args.at(0));
    if (!ok || count < 1 || !dir.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "demogen: cannot write " << count << " files into " << args.at(0) << '\n';
        return 1;
    }
    for (int number = 1; number <= count; ++number) {
        AscanFields ascan = demoSpec(number);
        ascan.picture = instrumentScreen(number, QString());
        if (!writeAscan(dir.filePath(QStringLiteral("%1.jpg").arg(number)), ascan)) {
            QTextStream(stderr) << "demogen: cannot write into " << dir.path() << '\n';
            return 1;
        }
    }
    // Files a loading leaves out: a plain picture with a number for a name, and an A-scan
    // whose name has no number.
    writeBytes(dir.filePath(QStringLiteral("%1.jpg").arg(count + 1)), encodeJpeg(instrumentScreen(0, QStringLiteral("plain photo"))));
    writeAscan(dir.filePath(QStringLiteral("notes.jpg")), demoSpec(1));
    return 0;
}

// bench_info [count ...] (default 10000 100000): `scanlet-info --json FOLDER` against
// floor_info, a C program doing the same listing, opens, reads and output, both run as programs
// with their output thrown away, the page cache warm. The two are run in turn five times and the
// fastest time of each kept: the machine's other work only ever adds time. Folders hold
// 1.jpg .. <count>.jpg, hard links into a pool of 10,000 distinct A-scans. Prints the ratio and
// PASS/MISS against 1.5x; never fails.
#include <QGuiApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>

#include "benchcards.h"

namespace {

QTextStream out(stdout);
const QString Base = QStringLiteral("/tmp/scanlet-bench-info");

// Wall time of one run in ms, its output sent to `output` (a file name, or the null device).
double timed(const QString &program, const QStringList &args, const QString &output = QProcess::nullDevice())
{
    QProcess process;
    process.setStandardOutputFile(output);
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(program, args);
    process.waitForFinished(-1);
    return clock.nsecsElapsed() / 1e6;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // the A-scans' pictures are drawn
    QGuiApplication app(argc, argv);
    const QString bin = QCoreApplication::applicationDirPath();
    const QString info = bin + QStringLiteral("/scanlet-info"), floor = bin + QStringLiteral("/floor_info");
    QList<int> counts;
    for (const QString &arg : app.arguments().mid(1))
        if (arg.toInt() > 0)
            counts.append(arg.toInt());
    if (counts.isEmpty())
        counts = {10000, 100000};
    for (int count : counts) {
        const QString dir = cardFolder(Base, count, 16);
        if (dir.isEmpty())
            continue;
        // The settings array of the first file, as scanlet-info writes it: the floor prints it as is.
        const QString sample = Base + QStringLiteral("/sample.json");
        timed(info, {QStringLiteral("--json"), dir + QStringLiteral("/1.jpg")}, sample);
        const QByteArray first = contents(sample);
        const int from = first.indexOf("\"settings\": ") + 12, to = first.lastIndexOf(']');
        const QString settings = QString::fromUtf8(first.mid(from, to - from));
        const QStringList infoArgs = {QStringLiteral("--json"), dir}, floorArgs = {dir, settings};
        timed(info, infoArgs, sample); // the headers into the cache, and the sizes of both outputs
        const qint64 infoBytes = contents(sample).size();
        timed(floor, floorArgs, sample);
        const qint64 floorBytes = contents(sample).size();
        double infoMs = 1e12, floorMs = 1e12;
        for (int round = 0; round < 5; ++round) {
            infoMs = qMin(infoMs, timed(info, infoArgs));
            floorMs = qMin(floorMs, timed(floor, floorArgs));
        }
        const double ratio = infoMs / qMax(floorMs, 1e-3);
        out << Qt::endl << count << " files: scanlet-info " << QString::number(infoMs, 'f', 1) << " ms ("
            << infoBytes << " B of output), C floor " << QString::number(floorMs, 'f', 1) << " ms (" << floorBytes
            << " B); scanlet-info/C floor " << QString::number(ratio, 'f', 2) << "x" << Qt::endl
            << (ratio <= 1.5 ? "  PASS " : "  MISS ") << "scanlet-info --json <= 1.5x the C floor" << Qt::endl;
    }
    return 0;
}

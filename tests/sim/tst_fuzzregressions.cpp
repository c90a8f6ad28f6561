// Replays the inputs kept from fuzzing through the same code the fuzz
// targets run, so a fault once found stays fixed without a fuzzer.

#include "../fuzz/fuzzbodies.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestFuzzRegressions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void replay_data();
    void replay();
};

void TestFuzzRegressions::replay_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");
    for (const char *target : {"sysexparse", "simulator", "syxfile"}) {
        const QDir dir(QStringLiteral(TESSIVA_SOURCE_DIR "/fuzz/regressions/") +
                       QLatin1String(target));
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY2(!files.isEmpty(), qPrintable(dir.path()));
        for (const QString &f : files)
            QTest::addRow("%s/%s", target, qPrintable(f))
                << QString::fromLatin1(target) << dir.filePath(f);
    }
}

void TestFuzzRegressions::replay()
{
    QFETCH(QString, target);
    QFETCH(QString, path);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray input = f.readAll();
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(input.constData());
    const auto size = std::size_t(input.size());
    if (target == QLatin1String("simulator"))
        QVERIFY(fuzzbody::simulator(bytes, size));
    else if (target == QLatin1String("syxfile"))
        QVERIFY(fuzzbody::syxFile(bytes, size));
    else
        QVERIFY(fuzzbody::sysexParse(bytes, size));
}

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"

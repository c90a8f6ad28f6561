// Wave groups and numbers on the main window: which list row a stored group
// selects, what is said about missing boards, which names are shown and
// what a wave change sends.

#include "maintestrig.h"

#include "controls/spincw0r.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <memory>

namespace {
// Line k after "[Waves]" of a shipped list, read without the program's code.
QString waveLine(const QString &file, int k)
{
    QFile f(QStringLiteral(TESSIVA_BIN_DIR "/exp.txt/") + file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("<missing %1>").arg(file);
    const QStringList lines = QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'));
    const int start = int(lines.indexOf(QStringLiteral("[Waves]")));
    return start < 0 || start + k >= lines.size() ? QString() : lines.at(start + k).trimmed();
}

const QString Install = QStringLiteral("\rPlease install and add in settings.");

void setTone(EditState &s, int tone, int type, int id, int wave)
{
    s.patchImage.set(tone, 0x01, std::uint8_t(type));
    s.patchImage.set(tone, 0x02, std::uint8_t(id));
    s.patchImage.set(tone, 0x03, std::uint8_t(wave >> 4));
    s.patchImage.set(tone, 0x04, std::uint8_t(wave & 0x0F));
}
} // namespace

class TestMainFormWaves : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { rig.reset(); }

    void intBWaveShowsItsLine_data();
    void intBWaveShowsItsLine();
    void storedGroupSelectsRow_data();
    void storedGroupSelectsRow();
    void missingBoardSaidOncePerLoad();
    void waveChangeSends_data();
    void waveChangeSends();

private:
    QComboBox *groupList(int tone) const;
    std::unique_ptr<MainTestRig> rig;
};

QComboBox *TestMainFormWaves::groupList(int tone) const
{
    return rig->form.findChild<QComboBox *>(tone == 1 ? QStringLiteral("CbSourceT1")
                                                      : QStringLiteral("CBSourceT%1").arg(tone));
}

void TestMainFormWaves::init()
{
    rig = std::make_unique<MainTestRig>();
    // Slot P empty, the Pop board in slot A, a board with an absurd count in B.
    auto &fitted = rig->state.Expansion;
    fitted[0] = {QStringLiteral("NoWave.txt"), QStringLiteral("None"), 0, 0, 1};
    fitted[1] = {QStringLiteral("ExpPop.txt"), QStringLiteral("Pop"), 2, 1, 224};
    fitted[2] = {QStringLiteral("Odd.txt"), QStringLiteral("Odd"), 2, 40, 400};
    fitted[3] = {QStringLiteral("ExpOrch.txt"), QStringLiteral("Orchestral"), 2, 8, 174};
    fitted[4] = {QStringLiteral("NoWave.txt"), QStringLiteral("None"), 0, 0, 1};
    rig->form.FillWaveGroupLists();
    rig->form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig->form));
    rig->reload();
}

void TestMainFormWaves::intBWaveShowsItsLine_data()
{
    QTest::addColumn<int>("k");
    QTest::newRow("middle") << 136;
    QTest::newRow("last") << 193;
}

void TestMainFormWaves::intBWaveShowsItsLine()
{
    QFETCH(int, k);
    setTone(rig->state, 2, 0, 2, k - 1);
    rig->form.B_UpdateAllClick();

    QCOMPARE(groupList(2)->currentText(), QStringLiteral("Int-B"));
    auto *spin = rig->form.findChild<TSpincw0R *>(QStringLiteral("SpcWaveT2"));
    QCOMPARE(spin->MaxValue(), 193);
    QCOMPARE(spin->Value(), k);
    const QString expected = waveLine(QStringLiteral("IntB.txt"), k);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(rig->form.findChild<QLineEdit *>(QStringLiteral("EWavetxt2"))->text(), expected);
    QCOMPARE(rig->state.ToneWaveNumber[1], k - 1);
    QVERIFY(rig->info.messages.isEmpty());
    QVERIFY(rig->dataSets().isEmpty());
}

void TestMainFormWaves::storedGroupSelectsRow_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("board in slot A") << 2 << 1 << 3 << 224 << QStringList{};
    QTest::newRow("count above 255 held") << 2 << 40 << 4 << 255 << QStringList{};
    QTest::newRow("card not fitted")
        << 1 << 5 << 2 << 1 << QStringList{"This patch uses the PCM-Card no: 5" + Install};
    QTest::newRow("board not fitted")
        << 2 << 9 << -1 << 255 << QStringList{"This patch uses the ExpansionBoard no: 9" + Install};
    QTest::newRow("unknown group type")
        << 3 << 7 << -1 << 255
        << QStringList{"Error on wavegroup: = 3", "Problem with WgroupID = 7"};
}

void TestMainFormWaves::storedGroupSelectsRow()
{
    QFETCH(int, type);
    QFETCH(int, id);
    QFETCH(int, row);
    QFETCH(int, maximum);
    QFETCH(QStringList, messages);

    setTone(rig->state, 1, type, id, 0);
    rig->form.B_UpdateAllClick();
    QCOMPARE(groupList(1)->currentIndex(), row);
    QCOMPARE(rig->form.findChild<TSpincw0R *>(QStringLiteral("SpcWaveT1"))->MaxValue(), maximum);
    QCOMPARE(rig->info.messages, messages);
    QVERIFY(!rig->state.SendLock);
}

void TestMainFormWaves::missingBoardSaidOncePerLoad()
{
    for (int t : {1, 2, 4})
        setTone(rig->state, t, 2, 12, 3);
    const QString text = "This patch uses the ExpansionBoard no: 12" + Install;
    rig->form.B_UpdateAllClick();
    QCOMPARE(rig->info.messages, QStringList{text});
    rig->form.B_UpdateAllClick();
    QCOMPARE(rig->info.messages, (QStringList{text, text}));
}

void TestMainFormWaves::waveChangeSends_data()
{
    QTest::addColumn<int>("tone");
    QTest::addColumn<QList<int>>("stored"); // type, ID, wave
    QTest::addColumn<bool>("onList");       // key goes to the group list, else the spin
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QString>("expect");
    QTest::addColumn<QString>("name"); // list file and line, or empty

    QTest::newRow("Int-B chosen") << 2 << QList<int>{0, 1, 9} << true << int(Qt::Key_Down) << 1
                                  << "03 00 12 01 | 00 02 00 09"
                                  << "IntB.txt:10";
    QTest::newRow("smaller group pulls down")
        << 1 << QList<int>{0, 1, 254} << true << int(Qt::Key_Down) << 1
        << "03 00 10 01 | 00 02 0C 00"
        << "IntB.txt:193";
    QTest::newRow("board chosen") << 4 << QList<int>{0, 1, 0} << true << int(Qt::Key_Down) << 3
                                  << "03 00 16 01 | 02 01 00 00"
                                  << "ExpPop.txt:1";
    QTest::newRow("missing board keeps its group")
        << 1 << QList<int>{2, 9, 4} << false << int(Qt::Key_Up) << 1 << "03 00 10 01 | 02 09 00 05"
        << "";
}

void TestMainFormWaves::waveChangeSends()
{
    QFETCH(int, tone);
    QFETCH(QList<int>, stored);
    QFETCH(bool, onList);
    QFETCH(int, key);
    QFETCH(int, presses);
    QFETCH(QString, expect);
    QFETCH(QString, name);

    setTone(rig->state, tone, stored[0], stored[1], stored[2]);
    rig->reload();
    rig->state.CurrentTone = 0;
    QWidget *target = onList
                          ? static_cast<QWidget *>(groupList(tone))
                          : rig->form.findChild<QWidget *>(QStringLiteral("SpcWaveT%1").arg(tone));
    target->setFocus();
    for (int i = 0; i < presses; ++i)
        QTest::keyClick(target, Qt::Key(key));

    QCOMPARE(rig->dataSets().size(), presses);
    QCOMPARE(rig->lastDataSet(), expect);
    QCOMPARE(rig->state.CurrentTone, tone);
    const QString shown =
        rig->form.findChild<QLineEdit *>(QStringLiteral("EWavetxt%1").arg(tone))->text();
    if (name.isEmpty()) {
        QCOMPARE(shown, QString());
    } else {
        const QStringList ref = name.split(QLatin1Char(':'));
        QCOMPARE(shown, waveLine(ref[0], ref[1].toInt()));
    }
    const int wave = rig->state.patchImage.waveNumber(tone);
    QCOMPARE(rig->state.ToneWaveNumber[std::size_t(tone - 1)], wave);
}

QTEST_MAIN(TestMainFormWaves)
#include "tst_mainformwaves.moc"

// The wave screen against the virtual synthesizer: choosing a wave by click
// and by typed number, the name file and the grid's order, the tone
// parameters beside the grid, group changes sent through the main window,
// refused groups, loading without sends, and the two layouts.

#include "editorrig.h"
#include "sendlines.h"

#include "controls/focuscombobox.h"
#include "controls/spincw0r.h"
#include "editors/waveform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace sendlines;

class TestWaveForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void chooseByClick_data();
    void chooseByClick();
    void typedNumber_data();
    void typedNumber();
    void nameFile_data();
    void nameFile();
    void groupChange_data();
    void groupChange();
    void parameters_data();
    void parameters();
    void refusedGroup();
    void loadingSendsNothing();
    void layouts();
};

// Tone t on group ID id (internal) with wave w (1-based), in unit and image.
static void loadWave(EditorRig &rig, int t, int id, int w, int type = 0)
{
    loadBytes(rig, {{t, addr::tone::WaveGroupType, type},
                    {t, addr::tone::WaveGroupId, id},
                    {t, addr::tone::WaveNumberHigh, (w - 1) >> 4},
                    {t, addr::tone::WaveNumberLow, (w - 1) & 0x0F}});
}

static QString waveSet(int t, int id, int w)
{
    const char bytes[] = {0, char(id), char((w - 1) >> 4), char((w - 1) & 0x0F)};
    return line(addr::toneBlock(t), addr::tone::WaveGroupType, QByteArray(bytes, sizeof bytes));
}

static TWaveForm *openWave(EditorRig &rig, int tone)
{
    TWaveForm *form = rig.open<TWaveForm>("BWave", tone);
    if (form) {
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form))
            return nullptr;
    }
    rig.takeDataSets();
    return form;
}

static void clickCell(QTableWidget *grid, QPoint cell)
{
    const QRect r = grid->visualRect(grid->model()->index(cell.y(), cell.x()));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

void TestWaveForm::chooseByClick_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("Int-A wave 27") << 1 << 5 << 27 << 27 << QStringList{waveSet(1, 1, 27)};
    QTest::newRow("Int-B past its end") << 2 << 5 << 200 << 193 << QStringList{waveSet(1, 2, 193)};
    QTest::newRow("Int-B last cell") << 2 << 5 << 260 << 193 << QStringList{waveSet(1, 2, 193)};
    QTest::newRow("Int-B at its end already") << 2 << 193 << 200 << 193 << QStringList();
}

void TestWaveForm::chooseByClick()
{
    QFETCH(int, id);
    QFETCH(int, start);
    QFETCH(int, clicked);
    QFETCH(int, chosen);
    QFETCH(QStringList, sent);
    EditorRig rig;
    QVERIFY(rig.ok());
    loadWave(rig, 1, id, start);
    TWaveForm *form = openWave(rig, 1);
    QVERIFY(form);
    auto *grid = form->findChild<QTableWidget *>(QStringLiteral("WaveGrid"));
    const QPoint startCell = TWaveForm::cellOfWave(start);
    QCOMPARE(QPoint(grid->currentColumn(), grid->currentRow()), startCell);

    const int column = std::min((clicked - 1) / TWaveForm::GridRows, TWaveForm::GridColumns - 1);
    clickCell(grid, {column, (clicked - 1) % TWaveForm::GridRows});
    QCOMPARE(rig.takeDataSets(), sent);
    QCOMPARE(form->findChild<QSpinBox *>(QStringLiteral("SpWave"))->value(), chosen);
    QCOMPARE(form->findChild<QLineEdit *>(QStringLiteral("EdWaveNo"))->text(),
             QString::number(chosen));
    QCOMPARE(QPoint(grid->currentColumn(), grid->currentRow()), TWaveForm::cellOfWave(chosen));
    QCOMPARE(rig.form.SpcWaveT(1)->Value(), chosen);
    QCOMPARE(rig.unitTone(1), rig.imageTone(1));
}

void TestWaveForm::typedNumber_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("messages");
    const QStringList none;
    QTest::newRow("0 gives 1") << 1 << "0" << 1 << QStringList{waveSet(2, 1, 1)} << none;
    QTest::newRow("300 in Int-A gives 255")
        << 1 << "300" << 255 << QStringList{waveSet(2, 1, 255)} << none;
    QTest::newRow("200 in Int-B gives 193")
        << 2 << "200" << 193 << QStringList{waveSet(2, 2, 193)} << none;
    QTest::newRow("not a number") << 1 << "abc" << 5 << none
                                  << QStringList{QStringLiteral("error in wave no.")};
    QTest::newRow("empty") << 1 << "" << 5 << none << none;
    QTest::newRow("unchanged") << 1 << "5" << 5 << none << none;
}

void TestWaveForm::typedNumber()
{
    QFETCH(int, id);
    QFETCH(QString, typed);
    QFETCH(int, chosen);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, messages);
    EditorRig rig;
    QVERIFY(rig.ok());
    loadWave(rig, 2, id, 5);
    TWaveForm *form = openWave(rig, 2);
    QVERIFY(form);
    rig.info.messages.clear();
    auto *edit = form->findChild<QLineEdit *>(QStringLiteral("EdWaveNo"));
    QCOMPARE(edit->text(), QStringLiteral("5"));
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(edit->text(), QString()); // entering empties the field
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);

    QCOMPARE(rig.takeDataSets(), sent);
    QCOMPARE(rig.info.messages, messages);
    QCOMPARE(edit->text(), QString::number(chosen));
    QCOMPARE(rig.form.SpcWaveT(2)->Value(), chosen);
    // Leaving the field afterwards changes nothing more.
    form->findChild<QComboBox *>(QStringLiteral("CbWaveGain"))->setFocus();
    QTRY_VERIFY(!edit->hasFocus());
    QCOMPARE(rig.takeDataSets(), QStringList());
    QCOMPARE(rig.info.messages, messages);
}

void TestWaveForm::nameFile_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<QList<int>>("waves");
    QTest::addColumn<QStringList>("names");
    QByteArray many = "; a list\n[Waves]\n";
    for (int w = 1; w <= 27; ++w)
        many += "Wave " + QByteArray::number(w) + '\n';
    QTest::newRow("names after the header")
        << QByteArray("; comment\n[Waves]\r\nFirst\r\nSecond\r\n") << QList<int>{1, 2, 3}
        << QStringList{"First", "Second", ""};
    QTest::newRow("no [Waves] line")
        << QByteArray("First\nSecond\n") << QList<int>{1, 2} << QStringList{"", ""};
    QTest::newRow("missing file") << QByteArray() << QList<int>{1} << QStringList{""};
    QTest::newRow("wave 26 and 27")
        << many << QList<int>{26, 27, 28} << QStringList{"Wave 26", "Wave 27", ""};
}

void TestWaveForm::nameFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<int>, waves);
    QFETCH(QStringList, names);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("exp.txt")));
    if (!content.isNull()) {
        QFile f(dir.filePath(QStringLiteral("exp.txt/IntA.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    EditorRig rig;
    QVERIFY(rig.ok());
    rig.form.setProgramDir(dir.path());
    loadWave(rig, 1, 1, 2);
    TWaveForm *form = openWave(rig, 1);
    QVERIFY(form);
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("LwaveF"))->text(),
             QStringLiteral("IntA.txt"));
    auto *grid = form->findChild<QTableWidget *>(QStringLiteral("WaveGrid"));
    for (qsizetype i = 0; i < waves.size(); ++i) {
        const QPoint cell = TWaveForm::cellOfWave(waves[i]);
        QCOMPARE(grid->item(cell.y(), cell.x())->text(), names[i]);
        QCOMPARE(rig.state.WaveNameTable[std::size_t(waves[i])], names[i]);
    }
    // Wave 26 ends the first column, 27 starts the second.
    QCOMPARE(TWaveForm::cellOfWave(26), QPoint(0, 25));
    QCOMPARE(TWaveForm::cellOfWave(27), QPoint(1, 0));
    // Without names the waves can still be chosen.
    clickCell(grid, {1, 0});
    QCOMPARE(rig.takeDataSets(), QStringList{waveSet(1, 1, 27)});
}

void TestWaveForm::groupChange_data()
{
    QTest::addColumn<int>("tone");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("wave");
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("file");
    // Same wave number, new group: still a change.
    QTest::newRow("tone 1 to Int-B, same number")
        << 1 << 1 << 100 << int(Qt::Key_Down) << QStringList{waveSet(1, 2, 100)} << "IntB.txt";
    QTest::newRow("tone 3 to Int-B, same number")
        << 3 << 1 << 100 << int(Qt::Key_Down) << QStringList{waveSet(3, 2, 100)} << "IntB.txt";
    QTest::newRow("tone 1 to Int-B, number cut")
        << 1 << 1 << 250 << int(Qt::Key_Down) << QStringList{waveSet(1, 2, 193)} << "IntB.txt";
    QTest::newRow("tone 4 back to Int-A")
        << 4 << 2 << 193 << int(Qt::Key_Up) << QStringList{waveSet(4, 1, 193)} << "IntA.txt";
    // No card or board is fitted: the end of the list is Int-B.
    QTest::newRow("empty slots skipped")
        << 2 << 1 << 7 << int(Qt::Key_End) << QStringList{waveSet(2, 2, 7)} << "IntB.txt";
}

void TestWaveForm::groupChange()
{
    QFETCH(int, tone);
    QFETCH(int, id);
    QFETCH(int, wave);
    QFETCH(int, key);
    QFETCH(QStringList, sent);
    QFETCH(QString, file);
    EditorRig rig;
    QVERIFY(rig.ok());
    loadWave(rig, tone, id, wave);
    TWaveForm *form = openWave(rig, tone);
    QVERIFY(form);
    auto *group = form->findChild<TFocusComboBox *>(QStringLiteral("CbWaveGroup"));
    QCOMPARE(group->currentIndex(), id - 1);
    for (int row = 2; row < group->count(); ++row)
        QVERIFY(!group->isRowSelectable(row));
    group->setFocus();
    QTest::keyClick(group, Qt::Key(key));

    QCOMPARE(rig.takeDataSets(), sent);
    QCOMPARE(rig.form.CbSourceT(tone)->currentIndex(), group->currentIndex());
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("LwaveF"))->text(), file);
    QCOMPARE(rig.unitTone(tone), rig.imageTone(tone));
}

void TestWaveForm::parameters_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("sent");
    QTest::newRow("wave gain") << "CbWaveGain" << 0x05 << 0 << int(Qt::Key_Down) << 1;
    QTest::newRow("cross mod on") << "ChBFXM" << 0x06 << 0 << int(Qt::Key_Space) << 1;
    QTest::newRow("colour 1 to 2") << "SpFXMColor" << 0x07 << 0 << int(Qt::Key_Up) << 1;
    QTest::newRow("depth 16 to 15") << "SpFXMDepth" << 0x08 << 15 << int(Qt::Key_Down) << 14;
    QTest::newRow("delay mode") << "CbToneDMode" << 0x09 << 6 << int(Qt::Key_Up) << 5;
    QTest::newRow("delay time") << "SpToneDTime" << 0x0A << 127 << int(Qt::Key_Home) << 0;
}

void TestWaveForm::parameters()
{
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(int, stored);
    QFETCH(int, key);
    QFETCH(int, sent);
    EditorRig rig;
    QVERIFY(rig.ok());
    loadBytes(rig, {{3, offset, stored}});
    TWaveForm *form = openWave(rig, 3);
    QVERIFY(form);
    auto *w = form->findChild<QWidget *>(name);
    QVERIFY(w);
    w->setFocus();
    QTest::keyClick(w, Qt::Key(key));
    QCOMPARE(rig.takeDataSets(), QStringList{tone(3, offset, sent)});
    QCOMPARE(rig.unitTone(3), rig.imageTone(3));
}

// A tone on a board no slot carries shows no group; neither a click nor a
// typed number may then send a group (never type 0 / ID 0, never wave -1).
void TestWaveForm::refusedGroup()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadWave(rig, 1, 99, 10, 2);
    TWaveForm *form = openWave(rig, 1);
    QVERIFY(form);
    auto *group = form->findChild<QComboBox *>(QStringLiteral("CbWaveGroup"));
    QCOMPARE(group->currentIndex(), -1);
    auto *grid = form->findChild<QTableWidget *>(QStringLiteral("WaveGrid"));
    clickCell(grid, {2, 3});
    auto *edit = form->findChild<QLineEdit *>(QStringLiteral("EdWaveNo"));
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClicks(edit, QStringLiteral("0"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(rig.takeDataSets(), QStringList());
    QCOMPARE(edit->text(), QStringLiteral("10"));
    QCOMPARE(rig.imageTone(1).at(addr::tone::WaveGroupId), char(99));
}

void TestWaveForm::loadingSendsNothing()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    TWaveForm *form = openWave(rig, 2);
    QVERIFY(form);
    for (quint32 seed : {5u, 6u, 7u}) {
        rig.loadRandom(seed);
        rig.form.B_UpdateAllClick();
        for (int t = 1; t <= addr::ToneCount; ++t) {
            form->findChild<QAbstractButton *>(QStringLiteral("SpT%1").arg(t))->click();
            const PatchImage &img = rig.state.patchImage;
            QCOMPARE(form->findChild<QLabel *>(QStringLiteral("LToneBig"))->text(),
                     QString::number(t));
            QCOMPARE(form->findChild<QSpinBox *>(QStringLiteral("SpWave"))->value(),
                     img.waveNumber(t) + 1);
            QCOMPARE(form->findChild<QComboBox *>(QStringLiteral("CbWaveGroup"))->currentIndex(),
                     img.tone(t, addr::tone::WaveGroupId) - 1);
            QCOMPARE(form->findChild<TSpincw0R *>(QStringLiteral("SpFXMDepth"))->Value(),
                     std::min(img.tone(t, TWaveForm::FxmDepthOffset) + 1, 16));
            QCOMPARE(form->findChild<QCheckBox *>(QStringLiteral("ChBFXM"))->isChecked(),
                     img.tone(t, TWaveForm::FxmSwitchOffset) > 0);
        }
        form->reload();
        QCOMPARE(rig.takeDataSets(), QStringList());
        QVERIFY(!rig.state.SendLock);
    }
}

void TestWaveForm::layouts()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    TWaveForm *form = openWave(rig, 1);
    QVERIFY(form);
    auto *button = form->findChild<QPushButton *>(QStringLiteral("Blarge"));
    auto *grid = form->findChild<QTableWidget *>(QStringLiteral("WaveGrid"));
    for (const TWaveForm::Layout &shape :
         {TWaveForm::SmallLayout, TWaveForm::LargeLayout, TWaveForm::SmallLayout}) {
        QCOMPARE(form->largeLayout(), shape.large);
        QCOMPARE(form->size(), shape.form);
        QCOMPARE(button->text(), QLatin1String(shape.caption));
        QCOMPARE(grid->height(), shape.form.height() - TWaveForm::GridBelowTop);
        QCOMPARE(grid->rowHeight(0), shape.rowHeight);
        QCOMPARE(grid->columnWidth(9), shape.columnWidth);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(rig.takeDataSets(), QStringList());
}

QTEST_MAIN(TestWaveForm)
#include "tst_waveform.moc"

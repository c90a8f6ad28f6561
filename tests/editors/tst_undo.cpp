#include "commonscreenhelpers.h"
#include "historyrig.h"
#include "randomwalk.h"

#include "controls/sliderbase.h"
#include "controls/spincw0r.h"
#include "editors/comswform.h"
#include "editors/ctrlform.h"
#include "editors/efxform.h"
#include "editors/lfoform.h"
#include "editors/mixerform.h"
#include "editors/ptvaform.h"
#include "editors/ptvpform.h"
#include "editors/waveform.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QTest>

using CommonScreen = TMidiMainForm::CommonScreen;

class TestUndo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void randomEditsOnEveryScreenUndoAndRedoAll();
    void dragIsOneStep_data();
    void dragIsOneStep();
    void spinRollIsOneStepAndCtrlZTakesItBack();
    void pasteAndEffectTypeAreOneStepEach();
    void undoWithMidiClosedRestoresTheImageAlone();
};

namespace {
// Buttons of the main window that open dialogs, other screens or switch
// modes: the walk stays with the patch's own controls (and the tone boxes).
QStringList mainWindowSkips(TMidiMainForm &form)
{
    QStringList names;
    for (QAbstractButton *b : form.findChildren<QAbstractButton *>())
        if (!qobject_cast<QCheckBox *>(b) || b->objectName() == QLatin1String("ChPlayNote"))
            names << b->objectName();
    return names;
}

void settle(HistoryRig &rig)
{
    // Requests after effect type changes, and the queued end of the last
    // gesture.
    QTRY_VERIFY_WITH_TIMEOUT(!rig.state.SendLock, 10000);
    QCoreApplication::processEvents();
}
} // namespace

void TestUndo::randomEditsOnEveryScreenUndoAndRedoAll()
{
    HistoryRig rig;
    QVERIFY(rig.ok());
    rig.loadRandom(1605);
    rig.history.clear();
    const QByteArray startImage = rig.image();
    const QByteArray startUnit = rig.unitPatch();

    QList<QWidget *> screens{&rig.form,
                             rig.open<TPTVAForm>("BTVF_TVA", 1),
                             rig.open<TPTVPForm>("BTVP", 2),
                             rig.open<TLFOForm>("BLFO", 3),
                             rig.open<TWaveForm>("BWave", 4),
                             rig.open<TCtrlForm>("BCtrl", 1),
                             openCommon<TComSwForm>(rig, "BSwitch", CommonScreen::Switch),
                             openCommon<TEfxForm>(rig, "BEffect", CommonScreen::Effect),
                             openCommon<TMixerForm>(rig, "BMixer", CommonScreen::Mixer)};
    QVERIFY(!screens.contains(nullptr));
    std::vector<std::unique_ptr<RandomWalk>> walks;
    for (int i = 0; i < screens.size(); ++i) {
        walks.push_back(std::make_unique<RandomWalk>(*screens[i], quint32(160 + i)));
        // Mode switches and windows of their own are no edits of this patch.
        walks.back()->skip({QStringLiteral("SpMode"), QStringLiteral("SpMain"),
                            QStringLiteral("BEFX"), QStringLiteral("BitBtn1")});
    }
    walks.front()->skip(mainWindowSkips(rig.form));

    constexpr int Edits = 1000;
    constexpr int PerTurn = 10;
    QStringList log;
    for (int done = 0; done < Edits;)
        for (auto &walk : walks) {
            log += walk->run(PerTurn);
            done += PerTurn;
        }
    settle(rig);
    const QString trace = log.join(QLatin1Char('\n'));
    const QByteArray endImage = rig.image();
    const QByteArray endUnit = rig.unitPatch();
    QVERIFY2(endImage != startImage, qPrintable(trace));
    QVERIFY2(endUnit == rig.imagePatch(), "the unit and the image disagree before any undo");

    int steps = 0;
    while (rig.history.canUndo()) {
        QCOMPARE(rig.history.undo(), EditHistory::Result::Done);
        ++steps;
    }
    QVERIFY2(steps > Edits / 4, qPrintable(QString::number(steps)));
    QVERIFY2(rig.image() == startImage, qPrintable(trace));
    QVERIFY2(rig.unitPatch() == startUnit, qPrintable(trace));

    for (int i = 0; i < steps; ++i)
        QCOMPARE(rig.history.redo(), EditHistory::Result::Done);
    QVERIFY(!rig.history.canRedo());
    QVERIFY2(rig.image() == endImage, qPrintable(trace));
    QVERIFY2(rig.unitPatch() == endUnit, qPrintable(trace));
}

void TestUndo::dragIsOneStep_data()
{
    QTest::addColumn<QString>("button"); // empty: the main window
    QTest::addColumn<int>("tone");
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("undoText");

    QTest::newRow("patch level") << QString() << 0 << "SlLevel" << 0 << 0x2E << "Undo Patch Level";
    QTest::newRow("cutoff") << "BTVF_TVA" << 2 << "SlCutOffF" << 2 << 0x51
                            << "Undo Cutoff (tone 2)";
    QTest::newRow("lfo rate") << "BLFO" << 3 << "SlRate1" << 3 << 0x2F << "Undo LFO1 Rate (tone 3)";
    QTest::newRow("pitch envelope depth")
        << "BTVP" << 1 << "SlEnvDF" << 1 << 0x41 << "Undo P-Env Depth (tone 1)";
}

void TestUndo::dragIsOneStep()
{
    QFETCH(QString, button);
    QFETCH(int, tone);
    QFETCH(QString, slider);
    QFETCH(int, slot);
    QFETCH(int, offset);
    QFETCH(QString, undoText);
    HistoryRig rig;
    QVERIFY(rig.ok());
    rig.loadRandom(7);
    QWidget *screen = button.isEmpty() ? &rig.form : rig.openWindow(qPrintable(button), tone);
    QVERIFY(screen);
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    auto *s = screen->findChild<TSliderBase *>(slider);
    QVERIFY(s);
    rig.history.clear();
    rig.takeReceived();
    const int before = s->Position();
    const std::uint8_t stored = rig.state.patchImage.at(slot, offset);

    // Away from the nearer end, so every move changes the value.
    const int x = s->width() / 2;
    const int from = s->thumbRow();
    const int dir = from > s->height() / 2 ? -1 : 1;
    QTest::mousePress(s, Qt::LeftButton, Qt::NoModifier, QPoint(x, from));
    for (int i = 1; i <= 6; ++i)
        QTest::mouseMove(s, QPoint(x, from + dir * 4 * i));
    QTest::mouseRelease(s, Qt::LeftButton, Qt::NoModifier, QPoint(x, from + dir * 24));
    QCoreApplication::processEvents();

    QVERIFY2(rig.takeDataSets().size() >= 3, "the drag should pass several values");
    QVERIFY(s->Position() != before);
    QCOMPARE(rig.history.undoCount(), 1);
    QCOMPARE(rig.edits->undoAction()->text(), undoText);

    rig.edits->undoAction()->trigger();
    QCOMPARE(rig.state.patchImage.at(slot, offset), stored);
    QCOMPARE(std::uint8_t(rig.unitPatch().at(
                 slot == 0 ? offset : addr::CommonSize + (slot - 1) * addr::ToneSize + offset)),
             stored);
    // The screen shows the value it had before the drag.
    QCOMPARE(s->Position(), before);
    QCOMPARE(rig.edits->redoAction()->text(), QStringLiteral("Redo ") + undoText.mid(5));
}

void TestUndo::spinRollIsOneStepAndCtrlZTakesItBack()
{
    HistoryRig rig;
    QVERIFY(rig.ok());
    rig.loadRandom(11);
    rig.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.form));
    auto *tva = rig.open<TPTVAForm>("BTVF_TVA", 1);
    QVERIFY(tva);
    auto *spin = tva->findChild<TSpincw0R *>(QStringLiteral("SpTimeA1"));
    QVERIFY(spin);
    rig.history.clear();
    const int before = spin->Value();
    rollSpin(spin, before > 64 ? 1 : -1);
    QVERIFY(spin->Value() != before);
    QCOMPARE(rig.history.undoCount(), 1);
    QCOMPARE(rig.history.undoText(), QStringLiteral("A-Env Time 1 (tone 1)"));

    tva->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(tva));
    QTest::keyClick(tva, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(spin->Value(), before);
    QCOMPARE(int(rig.state.patchImage.tone(1, 0x6E)), before);
    QTest::keyClick(tva, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(spin->Value() != before);
    QCOMPARE(rig.history.undoCount(), 1);
}

void TestUndo::pasteAndEffectTypeAreOneStepEach()
{
    HistoryRig rig;
    QVERIFY(rig.ok());
    rig.loadRandom(23);
    auto *tva = rig.open<TPTVAForm>("BTVF_TVA", 1);
    QVERIFY(tva);
    const QByteArray tone2 = rig.imageTone(2);
    QTest::mouseClick(tva->findChild<QAbstractButton *>(QStringLiteral("SpBCopy")), Qt::LeftButton);
    QTest::mouseClick(tva->findChild<QAbstractButton *>(QStringLiteral("SpT2")), Qt::LeftButton);
    rig.history.clear();
    QTest::mouseClick(tva->findChild<QAbstractButton *>(QStringLiteral("SpBPaste")),
                      Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(rig.imageTone(2) != tone2);
    QCOMPARE(rig.history.undoCount(), 1);
    QCOMPARE(rig.history.undoText(), QStringLiteral("Paste (tone 2)"));

    auto *efx = openCommon<TEfxForm>(rig, "BEffect", CommonScreen::Effect);
    QVERIFY(efx);
    const QByteArray common = rig.image().left(addr::CommonSize);
    auto *type = efx->findChild<QComboBox *>(QStringLiteral("CbEFXType"));
    QVERIFY(type);
    type->setFocus();
    QTest::keyClick(type, type->currentIndex() > 20 ? Qt::Key_Up : Qt::Key_Down);
    settle(rig);
    QCOMPARE(rig.history.undoCount(), 2);
    QCOMPARE(rig.history.undoText(), QStringLiteral("EFX Type"));

    QCOMPARE(rig.history.undo(), EditHistory::Result::Done);
    QCOMPARE(rig.image().left(addr::CommonSize), common);
    QCOMPARE(rig.unitPatch().left(addr::CommonSize), common);
    QCOMPARE(rig.history.undo(), EditHistory::Result::Done);
    QCOMPARE(rig.imageTone(2), tone2);
    QCOMPARE(rig.unitTone(2), tone2);
    QCOMPARE(type->currentIndex(), int(rig.state.patchImage.common(addr::common::EffectType)));
}

void TestUndo::undoWithMidiClosedRestoresTheImageAlone()
{
    HistoryRig rig;
    QVERIFY(rig.ok());
    rig.loadRandom(31);
    auto *level = rig.form.findChild<TSliderBase *>(QStringLiteral("SlLevel"));
    const QByteArray start = rig.image();
    level->setFocus();
    QTest::keyClick(level, level->Position() > 64 ? Qt::Key_PageDown : Qt::Key_PageUp);
    QCoreApplication::processEvents();
    QVERIFY(rig.image() != start);
    const QByteArray unit = rig.unitPatch();
    rig.hub->closeMidi();
    QVERIFY(rig.state.MidiClosed);
    rig.takeReceived();
    rig.info.messages.clear();

    QCOMPARE(rig.history.undo(), EditHistory::Result::Offline);
    QCOMPARE(rig.image(), start);
    QCOMPARE(level->Position(), int(rig.state.patchImage.common(addr::common::PatchLevel)));
    // Nothing went out, and no box per byte either.
    QVERIFY(rig.takeReceived().isEmpty());
    QCOMPARE(rig.unitPatch(), unit);
    QCOMPARE(rig.info.messages, QStringList());
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"

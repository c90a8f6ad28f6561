// The controller screen against the virtual synthesizer: depths and their
// colouring, the patch-wide sources and their note, the two set-ups, the
// system control labels from the unit's answer, Copy and Paste of the whole
// section, the tone switches after incoming data and the tone it returns to.

#include "editorrig.h"
#include "sendlines.h"

#include "app/maineditorhost.h"
#include "controls/focuscombobox.h"
#include "controls/spincw0r.h"
#include "editors/ctrlform.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace sendlines;

namespace {
const QString SourcesNote = QStringLiteral(
    "All Control Sources are patchcommon.\rYou cannot set them individual for each tone.");

// Notes what the unit had received when the information box came up.
class BoxOrderHost : public MainEditorHost
{
public:
    BoxOrderHost(EditorRig &rig) : MainEditorHost(rig.form), rig_(rig) {}
    void showInfo(const QString &text) override
    {
        texts << text;
        sentBefore << rig_.takeDataSets();
    }
    QStringList texts;
    QList<QStringList> sentBefore;

private:
    EditorRig &rig_;
};
} // namespace

class TestCtrlForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void depth_data();
    void depth();
    void sourceNote_data();
    void sourceNote();
    void allControllersOff();
    void breathOnCtrl3();
    void sysControlLabels_data();
    void sysControlLabels();
    void copyPasteWholeSection();
    void switchesFollowIncomingData_data();
    void switchesFollowIncomingData();
    void returnsToItsTone();
    void listChoiceKeepsChosenTone();
};

static TCtrlForm *openCtrl(EditorRig &rig, int tone)
{
    TCtrlForm *form = rig.open<TCtrlForm>("BCtrl", tone);
    if (form) {
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form))
            return nullptr;
    }
    rig.takeDataSets();
    return form;
}

void TestCtrlForm::depth_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("sent");
    QTest::addColumn<bool>("green");
    QTest::newRow("-63 sends 0") << "SpCtr11" << 0x16 << 1 << int(Qt::Key_Down) << 0 << true;
    QTest::newRow("0 sends 63") << "SpCtr24" << 0x24 << 62 << int(Qt::Key_Up) << 63 << false;
    QTest::newRow("+63 sends 126") << "SpCtr34" << 0x2C << 125 << int(Qt::Key_Up) << 126 << false;
    QTest::newRow("127 shows +63") << "SpCtr32" << 0x28 << 127 << int(Qt::Key_Down) << 125 << false;
}

void TestCtrlForm::depth()
{
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(int, stored);
    QFETCH(int, key);
    QFETCH(int, sent);
    QFETCH(bool, green);
    EditorRig rig;
    QVERIFY(rig.ok());
    loadBytes(rig, {{2, offset, stored}});
    TCtrlForm *form = openCtrl(rig, 2);
    QVERIFY(form);
    auto *spin = form->findChild<TSpincw0R *>(name);
    QCOMPARE(spin->Value(), std::min(stored - TCtrlForm::DepthCentre, TCtrlForm::MaxDepth));
    spin->setFocus();
    QTRY_VERIFY(spin->hasFocus());
    QTest::keyClick(spin, Qt::Key(key));
    QCOMPARE(rig.takeDataSets(), QStringList{tone(2, offset, sent)});
    QCOMPARE(spin->Value(), sent - TCtrlForm::DepthCentre);

    form->findChild<QWidget *>(QStringLiteral("CbPan"))->setFocus();
    QTRY_VERIFY(!spin->hasFocus());
    QCOMPARE(spin->BKColor() == TCtrlForm::NegativeColour, green);
    QCOMPARE(rig.unitTone(2), rig.imageTone(2));
}

void TestCtrlForm::sourceNote_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("CTRL 2 source changed")
        << "CbSource2" << 0x3A << 3 << 4 << QStringList{common(0x3A, 4)};
    QTest::newRow("CTRL 3 source changed")
        << "CbSource3" << 0x3B << 15 << 0 << QStringList{common(0x3B, 0)};
    QTest::newRow("CTRL 2 source unchanged") << "CbSource2" << 0x3A << 9 << 9 << QStringList();
}

// The note comes with every choice from the list, also the unchanged one.
void TestCtrlForm::sourceNote()
{
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(int, stored);
    QFETCH(int, row);
    QFETCH(QStringList, sent);
    EditorRig rig;
    QVERIFY(rig.ok());
    loadBytes(rig, {{0, offset, stored}});
    TCtrlForm *form = openCtrl(rig, 1);
    QVERIFY(form);
    rig.info.messages.clear();
    auto *list = form->findChild<TFocusComboBox *>(name);
    QCOMPARE(list->currentIndex(), stored);
    list->showPopup();
    QAbstractItemView *view = list->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(view->model()->index(row, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());

    QCOMPARE(rig.takeDataSets(), sent);
    QCOMPARE(rig.info.messages, QStringList{SourcesNote});
    QCOMPARE(sendlines::unitBlock(rig, 0), imageBlock(rig, 0));
}

void TestCtrlForm::allControllersOff()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    rig.loadRandom(21);
    TCtrlForm *form = openCtrl(rig, 3);
    QVERIFY(form);
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("Balloff")), Qt::LeftButton);

    QByteArray off;
    for (int i = 0; i < 12; ++i)
        off += QByteArray::fromHex("003F");
    QCOMPARE(rig.takeDataSets(),
             (QStringList{line(addr::toneBlock(3), TCtrlForm::FirstDestination, off),
                          tone(3, TCtrlForm::ToneLevelOffset, 100)}));
    for (int k = 0; k < TCtrlForm::Controllers; ++k) {
        for (int j = 0; j < TCtrlForm::Destinations; ++j) {
            QCOMPARE(form->depthSpin(k, j)->Value(), 0);
            QCOMPARE(form->findChild<QComboBox *>(QStringLiteral("CbCtr%1%2").arg(k + 1).arg(j + 1))
                         ->currentIndex(),
                     0);
        }
    }
    QCOMPARE(rig.unitTone(3), rig.imageTone(3));
}

// The three data sets come from the controls with values the unit accepts,
// and the note about the sources only after all of them.
void TestCtrlForm::breathOnCtrl3()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadBytes(rig, {{0, TCtrlForm::Source3Offset, 0}, {2, 0x25, 0}, {2, 0x26, 63}, {2, 0x65, 90}});
    rig.state.CurrentTone = 2;
    BoxOrderHost host(rig);
    TCtrlForm form(rig.state, rig.protocol, host);
    // The system-control request at creation leaves SendLock as it was, so
    // edits go out even if no answer ever comes.
    QVERIFY(!rig.state.SendLock);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    rig.takeDataSets();
    host.texts.clear();
    host.sentBefore.clear();

    QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("BStBrth")), Qt::LeftButton);
    QCOMPARE(host.texts, QStringList{SourcesNote});
    QCOMPARE(host.sentBefore.value(0),
             (QStringList{common(TCtrlForm::Source3Offset, 4), tone(2, 0x25, 4), tone(2, 0x26, 126),
                          tone(2, TCtrlForm::ToneLevelOffset, 5)}));
    QCOMPARE(rig.takeDataSets(), QStringList());
    QCOMPARE(rig.state.patchImage.tone(2, 0x26), 126);
    QCOMPARE(form.depthSpin(2, 0)->Value(), TCtrlForm::MaxDepth);
    QCOMPARE(rig.unitTone(2), rig.imageTone(2));
    QCOMPARE(sendlines::unitBlock(rig, 0), imageBlock(rig, 0));
}

void TestCtrlForm::sysControlLabels_data()
{
    QTest::addColumn<int>("source1");
    QTest::addColumn<int>("source2");
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QString>("text2");
    QTest::newRow("named") << 7 << 1 << "Volume"
                           << "Modulation";
    QTest::newRow("unnamed numbers") << 3 << 90 << "3"
                                     << "90";
    QTest::newRow("past the names") << 120 << 98 << "120"
                                    << "98";
}

// The request at opening is answered by the unit; its answer refreshes the
// screen, and the labels name what the unit holds.
void TestCtrlForm::sysControlLabels()
{
    QFETCH(int, source1);
    QFETCH(int, source2);
    QFETCH(QString, text1);
    QFETCH(QString, text2);
    EditorRig rig;
    QVERIFY(rig.ok());
    SynthMemory memory = rig.engine().memory();
    memory.systemCommon()[addr::system::ControlSource1] = std::uint8_t(source1);
    memory.systemCommon()[addr::system::ControlSource2] = std::uint8_t(source2);
    rig.engine().setMemory(memory);

    TCtrlForm *form = openCtrl(rig, 1);
    QVERIFY(form);
    QTRY_COMPARE(form->findChild<QLabel *>(QStringLiteral("LSysC1"))->text(), text1);
    QTRY_COMPARE(form->findChild<QLabel *>(QStringLiteral("LSysC2"))->text(), text2);
    QVERIFY(!rig.state.SendLock);
}

void TestCtrlForm::copyPasteWholeSection()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    rig.loadRandom(33);
    TCtrlForm *form = openCtrl(rig, 1);
    QVERIFY(form);
    const QByteArray section = rig.imageTone(1).mid(TCtrlForm::RedamperOffset, 29);
    QTest::mouseClick(form->findChild<QAbstractButton *>(QStringLiteral("SpCopy")), Qt::LeftButton);
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("Lbuff"))->text(),
             QStringLiteral("Buff = 1"));
    QTest::mouseClick(form->findChild<QAbstractButton *>(QStringLiteral("SpT4")), Qt::LeftButton);
    QTest::mouseClick(form->findChild<QAbstractButton *>(QStringLiteral("SpPaste")),
                      Qt::LeftButton);

    QCOMPARE(rig.takeDataSets(),
             QStringList{line(addr::toneBlock(4), TCtrlForm::RedamperOffset, section)});
    QCOMPARE(rig.imageTone(4).mid(TCtrlForm::RedamperOffset, 29), section);
    QCOMPARE(form->findChild<QCheckBox *>(QStringLiteral("CxRedamper"))->isChecked(),
             section.at(0) > 0);
    QCOMPARE(rig.unitTone(4), rig.imageTone(4));
}

void TestCtrlForm::switchesFollowIncomingData_data()
{
    QTest::addColumn<int>("tone");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("tone 2 on") << 2 << 0 << 1;
    QTest::newRow("tone 4 off") << 4 << 1 << 0;
}

void TestCtrlForm::switchesFollowIncomingData()
{
    QFETCH(int, tone);
    QFETCH(int, before);
    QFETCH(int, after);
    EditorRig rig;
    QVERIFY(rig.ok());
    loadBytes(rig, {{tone, addr::tone::Switch, before}});
    TCtrlForm *form = openCtrl(rig, 1);
    QVERIFY(form);
    auto *button = form->findChild<QAbstractButton *>(QStringLiteral("SpBTOn%1").arg(tone));
    QCOMPARE(button->isChecked(), before > 0);
    loadBytes(rig, {{tone, addr::tone::Switch, after}});
    QCOMPARE(button->isChecked(), after > 0);
    QCOMPARE(rig.takeDataSets(), QStringList());
}

// A tone chosen on the screen lasts until the screen is left; coming back
// returns to the tone the main window opened it for.
void TestCtrlForm::returnsToItsTone()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    TCtrlForm *form = openCtrl(rig, 2);
    QVERIFY(form);
    auto *label = form->findChild<QLabel *>(QStringLiteral("LToneKeus"));
    QCOMPARE(label->text(), QStringLiteral("2"));
    QTest::mouseClick(form->findChild<QAbstractButton *>(QStringLiteral("SpT4")), Qt::LeftButton);
    QCOMPARE(rig.state.CurrentTone, 4);
    QCOMPARE(label->text(), QStringLiteral("4"));

    rig.form.show();
    rig.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.form));
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QCOMPARE(rig.state.CurrentTone, 2);
    QTRY_COMPARE(label->text(), QStringLiteral("2"));

    // The main window's button for another tone while the screen is open.
    QCOMPARE(rig.open<TCtrlForm>("BCtrl", 3), form);
    QCOMPARE(form->controllerTone(), 3);
    QCOMPARE(label->text(), QStringLiteral("3"));
    QCOMPARE(rig.takeDataSets(), QStringList());
}

// A choice from a list's popup after a tone was picked on the screen goes to
// that tone, and the screen stays on it after the popup has closed.
void TestCtrlForm::listChoiceKeepsChosenTone()
{
    EditorRig rig;
    QVERIFY(rig.ok());
    loadBytes(rig, {{3, TCtrlForm::destinationOffset(1, 2), 0}});
    TCtrlForm *form = openCtrl(rig, 1);
    QVERIFY(form);
    QTest::mouseClick(form->findChild<QAbstractButton *>(QStringLiteral("SpT3")), Qt::LeftButton);
    auto *list = form->findChild<QComboBox *>(QStringLiteral("CbCtr23"));
    list->showPopup();
    QAbstractItemView *view = list->view();
    QTRY_VERIFY(view->isVisible());
    clickPopupRow(view, 5);
    QTRY_VERIFY(!view->isVisible());
    QTRY_VERIFY(form->isActiveWindow());
    QCOMPARE(rig.takeDataSets(), QStringList{tone(3, TCtrlForm::destinationOffset(1, 2), 5)});
    QCOMPARE(rig.state.CurrentTone, 3);
    QTRY_COMPARE(form->findChild<QLabel *>(QStringLiteral("LToneKeus"))->text(),
                 QStringLiteral("3"));
}

QTEST_MAIN(TestCtrlForm)
#include "tst_ctrlform.moc"

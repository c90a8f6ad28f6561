// The filter and amplifier screen opened from the main window, against the
// virtual synthesizer: which bytes each control sends and where, what loading
// sends (nothing), the shared tone frame (selector, switches, copy buffer,
// Release), mouse editing of the amplifier graph, and a long random walk
// after which the unit holds exactly what the image holds.

#include "editorrig.h"
#include "randomwalk.h"

#include "controls/lpanh.h"
#include "controls/sliderbase.h"
#include "controls/spincw0r.h"
#include "editors/envelopegeometry.h"
#include "editors/ptvaform.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

class TestPtvaForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { rig.reset(); }
    void toneChoiceAddressesItsTone();
    void performPrefixReachesEveryControl();
    void conversions_data();
    void conversions();
    void loadingSendsNothing();
    void copyThenPasteOnAnotherTone();
    void pasteWithoutCopySendsNothing();
    void toneSwitchChangesItsToneOnly();
    void releaseEndsNoteOnPartChannel();
    void sizeAndZoomToggles();
    void ampGraphPickAndDrag();
    void randomWalkKeepsUnitEqualToImage();
    void listChoiceFromPopup();

private:
    TPTVAForm *open(int tone);
    template <typename T> T *child(const char *name) const
    {
        T *w = form->findChild<T *>(QLatin1String(name));
        if (!w)
            qWarning("no control %s", name);
        return w;
    }
    QStringList nudge(QWidget *w);
    void mouse(QEvent::Type type, QPoint pos);
    static QString dataSet(int b0, int b1, int block, int offset, const QByteArray &data);
    void compareTones();

    std::unique_ptr<EditorRig> rig;
    TPTVAForm *form = nullptr;
};

void TestPtvaForm::init()
{
    rig = std::make_unique<EditorRig>();
    QVERIFY(rig->ok());
    rig->loadRandom(QTest::currentDataTag() ? qHash(QByteArray(QTest::currentDataTag())) : 7);
}

TPTVAForm *TestPtvaForm::open(int tone)
{
    form = rig->open<TPTVAForm>("BTVF_TVA", tone);
    return form;
}

QString TestPtvaForm::dataSet(int b0, int b1, int block, int offset, const QByteArray &data)
{
    return QString::asprintf("%02X %02X %02X %02X | ", b0, b1, block, offset) +
           QString::fromLatin1(data.toHex(' ').toUpper());
}

// One step up, or down where up changes nothing; the data sets it caused.
QStringList TestPtvaForm::nudge(QWidget *w)
{
    w->setFocus();
    QTest::keyClick(w, Qt::Key_Up);
    QStringList sent = rig->takeDataSets();
    if (sent.isEmpty()) {
        QTest::keyClick(w, Qt::Key_Down);
        sent = rig->takeDataSets();
    }
    return sent;
}

void TestPtvaForm::mouse(QEvent::Type type, QPoint pos)
{
    QWidget *graph = child<QWidget>("GrTVA");
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent e(type, QPointF(pos), QPointF(graph->mapToGlobal(pos)), button, held,
                  Qt::NoModifier);
    QApplication::sendEvent(graph, &e);
}

void TestPtvaForm::compareTones()
{
    for (int t = 1; t <= addr::ToneCount; ++t)
        QCOMPARE(rig->unitTone(t).toHex(' '), rig->imageTone(t).toHex(' '));
}

void TestPtvaForm::toneChoiceAddressesItsTone()
{
    QVERIFY(open(1));
    QCOMPARE(form->windowTitle(), QStringLiteral("TVF and TVA Parameters"));
    QTest::mouseClick(child<QToolButton>("SpT3"), Qt::LeftButton);
    QCOMPARE(rig->state.CurrentTone, 3);
    const QString wave3 = rig->form.EWavetxt(3)->text();
    QVERIFY(!wave3.isEmpty());
    QCOMPARE(form->windowTitle(), QStringLiteral("TVF/TVA - ") + wave3);
    QCOMPARE(child<QLabel>("LToneBig")->text(), QStringLiteral("3"));
    QVERIFY(rig->takeDataSets().isEmpty());

    const QStringList sent = nudge(child<QWidget>("SpTimeF1"));
    QCOMPARE(sent.size(), 1);
    QVERIFY2(sent.first().startsWith(QStringLiteral("03 00 14 5B | ")), qPrintable(sent.first()));

    // Opening for tone 2 from the main window: the caption follows that tone.
    QVERIFY(open(2));
    QCOMPARE(form->windowTitle(), QStringLiteral("TVF/TVA - ") + rig->form.EWavetxt(2)->text());
    QVERIFY(child<QToolButton>("SpT2")->isChecked());
}

void TestPtvaForm::performPrefixReachesEveryControl()
{
    rig->state.EditPrefix = {addr::AreaPerformancePart, 0x05};
    QVERIFY(open(1));
    for (const PtvaParameter &row : PtvaParameter::table()) {
        const QStringList sent = nudge(child<QWidget>(row.name));
        QVERIFY2(sent.size() == 1, row.name);
        const QString address = QString::asprintf("02 05 10 %02X | ", row.offset);
        QVERIFY2(sent.first().startsWith(address),
                 qPrintable(QLatin1String(row.name) + QLatin1Char(' ') + sent.first()));
    }
    // The unit put every byte into part 6's patch.
    rig->engine().waitIdle();
    const PatchMemory part = rig->engine().memory().patch(SynthMemory::Bank::Part, 5);
    for (const PtvaParameter &row : PtvaParameter::table())
        QCOMPARE(part.tones[0][row.offset], rig->state.patchImage.tone(1, row.offset));
}

void TestPtvaForm::conversions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("shownAfter");
    // Sensitivities store (shown + 100) div 2; a step always reaches the
    // next stored value and the spin shows what was stored.
    QTest::newRow("res sens up") << "SpResVS" << 64 << 28 << int(Qt::Key_Up) << 65 << 30;
    QTest::newRow("res sens down") << "SpResVS" << 64 << 28 << int(Qt::Key_Down) << 63 << 26;
    QTest::newRow("env sens bottom") << "SpEVelS" << 0 << -100 << int(Qt::Key_Up) << 1 << -98;
    QTest::newRow("amp sens top") << "SpEVSA" << 125 << 150 << int(Qt::Key_Down) << 124 << 148;
    QTest::newRow("amp sens page") << "SpEVSA" << 10 << -80 << int(Qt::Key_PageUp) << 15 << -70;
    QTest::newRow("pan 0 to 63") << "SlTPan" << 0 << -64 << int(Qt::Key_End) << 127 << 63;
    QTest::newRow("env depth") << "SlEnvDF" << 0 << -63 << int(Qt::Key_Up) << 1 << -62;
    QTest::newRow("lfo depth") << "SpLFO1A" << 63 << 0 << int(Qt::Key_Down) << 62 << -1;
    QTest::newRow("alt pan") << "SpAltPan" << 64 << 0 << int(Qt::Key_Up) << 65 << 1;
    QTest::newRow("alt pan stored 0") << "SpAltPan" << 0 << -63 << int(Qt::Key_Up) << 2 << -62;
    QTest::newRow("curve") << "SpVCF" << 6 << 7 << int(Qt::Key_Down) << 5 << 6;
    QTest::newRow("rnd pan") << "SpRndPan" << 63 << 63 << int(Qt::Key_Down) << 62 << 62;
    QTest::newRow("bias point") << "CbBiasPnt" << 60 << 60 << int(Qt::Key_Down) << 61 << 61;
    QTest::newRow("filter type") << "CbFtype" << 4 << 4 << int(Qt::Key_Up) << 3 << 3;
}

void TestPtvaForm::conversions()
{
    QFETCH(QString, name);
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(int, key);
    QFETCH(int, sent);
    QFETCH(int, shownAfter);
    const PtvaParameter *row = PtvaParameter::find(name.toLatin1().constData());
    QVERIFY(row);
    PatchMemory p = rig->engine().memory().patch(SynthMemory::Bank::Temporary, 0);
    p.tones[0][row->offset] = std::uint8_t(stored);
    rig->loadPatch(p);
    QVERIFY(open(1));

    QWidget *w = child<QWidget>(row->name);
    const auto value = [w] {
        if (auto *s = qobject_cast<TSpincw0R *>(w))
            return s->Value();
        if (auto *s = qobject_cast<TSliderBase *>(w))
            return s->Position();
        return qobject_cast<QComboBox *>(w)->currentIndex();
    };
    QCOMPARE(value(), shown);
    if (name == QLatin1String("SlTPan"))
        QCOMPARE(child<TLPanH>("LPan")->Value(), stored);
    if (name == QLatin1String("CbBiasPnt"))
        QCOMPARE(qobject_cast<QComboBox *>(w)->currentText(), QStringLiteral("-C4-m"));

    w->setFocus();
    QTest::keyClick(w, Qt::Key(key));
    QCOMPARE(rig->takeDataSets(),
             QStringList{dataSet(3, 0, 0x10, row->offset, QByteArray(1, char(sent)))});
    QCOMPARE(value(), shownAfter);
    if (name == QLatin1String("SlTPan"))
        QCOMPARE(child<TLPanH>("LPan")->Value(), sent);
    QCOMPARE(rig->unitTone(1).at(row->offset), char(sent));
}

void TestPtvaForm::loadingSendsNothing()
{
    QVERIFY(open(1));
    for (const char *button : {"SpT2", "SpT4", "SpT1"})
        QTest::mouseClick(child<QToolButton>(button), Qt::LeftButton);
    form->reload();
    rig->form.B_UpdateAllClick();
    QVERIFY(rig->takeDataSets().isEmpty());
    QVERIFY(!rig->state.PatchModified);

    // New bytes in the image (as from the synthesizer) reach the open screen
    // on the main window's refresh, and its load leaves the lock released.
    rig->state.patchImage.set(1, 0x5B, 99);
    rig->state.SendLock = true;
    rig->form.B_UpdateAllClick();
    QVERIFY(!rig->state.SendLock);
    QCOMPARE(child<TSpincw0R>("SpTimeF1")->Value(), 99);
    QVERIFY(rig->takeDataSets().isEmpty());
    QCOMPARE(nudge(child<QWidget>("SpTimeF1")).size(), 1);
}

void TestPtvaForm::copyThenPasteOnAnotherTone()
{
    QVERIFY(open(2));
    const QByteArray tone2 = rig->imageTone(2).mid(TPTVAForm::FirstOffset, 45);
    QVERIFY(tone2 != rig->imageTone(4).mid(TPTVAForm::FirstOffset, 45));
    QTest::mouseClick(child<QToolButton>("SpBCopy"), Qt::LeftButton);
    QCOMPARE(child<QLabel>("Lbuff")->text(), QStringLiteral("Buffer = 2"));
    QTest::mouseClick(child<QToolButton>("SpT4"), Qt::LeftButton);
    QVERIFY(rig->takeDataSets().isEmpty());

    QTest::mouseClick(child<QToolButton>("SpBPaste"), Qt::LeftButton);
    QCOMPARE(rig->takeDataSets(), QStringList{dataSet(3, 0, 0x16, TPTVAForm::FirstOffset, tone2)});
    QCOMPARE(rig->imageTone(4).mid(TPTVAForm::FirstOffset, 45), tone2);
    QCOMPARE(child<QLabel>("Lbuff")->text(), QStringLiteral("Buffer = 2"));
    // The controls show the pasted bytes.
    QCOMPARE(child<TSpincw0R>("SpTimeA1")->Value(), int(tone2.at(0x6E - TPTVAForm::FirstOffset)));
    compareTones();
}

void TestPtvaForm::pasteWithoutCopySendsNothing()
{
    // A copy of another screen's range does not count for this one.
    rig->state.toneCopyBuffer.copy(rig->state.patchImage, 3, 0x2D, 0x3C);
    QVERIFY(open(1));
    QCOMPARE(child<QLabel>("Lbuff")->text(), QStringLiteral("Buffer = empty"));
    const PatchImage before = rig->state.patchImage;
    QTest::mouseClick(child<QToolButton>("SpBPaste"), Qt::LeftButton);
    QVERIFY(rig->takeDataSets().isEmpty());
    QVERIFY(rig->state.patchImage == before);
}

void TestPtvaForm::toneSwitchChangesItsToneOnly()
{
    PatchMemory p = rig->engine().memory().patch(SynthMemory::Bank::Temporary, 0);
    for (int t = 0; t < addr::ToneCount; ++t)
        p.tones[std::size_t(t)][addr::tone::Switch] = t == 0 ? 1 : 0;
    rig->loadPatch(p);
    QVERIFY(open(1));
    QVERIFY(child<QToolButton>("SpBTOn1")->isChecked());
    QVERIFY(!child<QToolButton>("SpBTOn2")->isChecked());

    // Tone 2 goes on at the main window; this screen's button is now stale.
    rig->form.ChkTone(2)->click();
    QCOMPARE(rig->takeDataSets(), QStringList{QStringLiteral("03 00 12 00 | 01")});
    QTest::mouseClick(child<QToolButton>("SpBTOn1"), Qt::LeftButton);
    QCOMPARE(rig->takeDataSets(), QStringList{QStringLiteral("03 00 10 00 | 00")});
    QVERIFY(!rig->form.ChkTone(1)->isChecked());
    QVERIFY(rig->form.ChkTone(2)->isChecked());
    QCOMPARE(rig->unitTone(2).at(addr::tone::Switch), char(1));
}

void TestPtvaForm::releaseEndsNoteOnPartChannel()
{
    QVERIFY(open(1));
    rig->form.findChild<QSpinBox *>(QStringLiteral("SpPart"))->setValue(6);
    rig->takeReceived();
    QTest::mouseClick(child<QWidget>("BitBtn1"), Qt::LeftButton);
    const QByteArray expected{"\x95", 1};
    QCOMPARE(rig->takeReceived(),
             QList<QByteArray>{expected + char(rig->hub->testNote()) + char(0)});
}

void TestPtvaForm::sizeAndZoomToggles()
{
    QVERIFY(open(1));
    auto *size = child<QToolButton>("SpSize");
    QCOMPARE(size->text(), QStringLiteral("Half"));
    const int fullHeight = form->height();
    QVERIFY(fullHeight >= TPTVAForm::FullSize.height());
    QTest::mouseClick(size, Qt::LeftButton);
    QCOMPARE(size->text(), QStringLiteral("Full"));
    QVERIFY(!child<QWidget>("PanelTVA")->isVisible());
    QVERIFY(form->height() < fullHeight);
    QTest::mouseClick(size, Qt::LeftButton);
    QCOMPARE(size->text(), QStringLiteral("Half"));
    QVERIFY(child<QWidget>("PanelTVA")->isVisible());
    QCOMPARE(form->height(), fullHeight);

    QTest::mouseClick(child<QCheckBox>("ChZoomF"), Qt::LeftButton);
    QVERIFY(child<QCheckBox>("ChZoom")->isChecked());
    QVERIFY(form->zoomed());
    QTest::mouseClick(child<QCheckBox>("ChZoom"), Qt::LeftButton);
    QVERIFY(!child<QCheckBox>("ChZoomF")->isChecked());
    QVERIFY(rig->takeDataSets().isEmpty());
}

void TestPtvaForm::ampGraphPickAndDrag()
{
    QVERIFY(open(1));
    const auto set = [this](const char *name, int v) {
        auto *s = child<TSpincw0R>(name);
        s->setFocus();
        s->setValue(v);
    };
    for (const char *t : {"SpTimeA2", "SpTimeA3", "SpTimeA4"})
        set(t, 10);
    set("SpTimeA1", 100);
    set("SpLevA1", 100);
    set("SpLevA2", 50);
    set("SpLevA3", 50);
    rig->takeDataSets();

    // P1 at time 100, level 100 is picked at (53, 30) and follows the pointer.
    mouse(QEvent::MouseButtonPress, QPoint(53, 30));
    QCOMPARE(form->pointPicked(), (std::array<bool, 4>{true, false, false, false}));
    mouse(QEvent::MouseMove, QPoint(63, 20));
    QCOMPARE(child<TSpincw0R>("SpLevA1")->Value(), 110);
    QCOMPARE(child<TSpincw0R>("SpTimeA1")->Value(), 120);
    QCOMPARE(rig->takeDataSets(),
             (QStringList{QStringLiteral("03 00 10 72 | 6E"), QStringLiteral("03 00 10 6E | 78")}));
    mouse(QEvent::MouseButtonRelease, QPoint(63, 20));
    QCOMPARE(form->pointPicked(), (std::array<bool, 4>{}));

    // The release point: times 0, 0, 0, 20 draw it at x 45; dragged to
    // x 60 it takes time 44 and is drawn at x 57.
    for (const char *t : {"SpTimeA1", "SpTimeA2", "SpTimeA3"})
        set(t, 0);
    set("SpTimeA4", 20);
    QCOMPARE(EnvelopeGeometry::amplifier(form->ampValues(), false).point[3], QPoint(45, 130));
    rig->takeDataSets();
    mouse(QEvent::MouseButtonPress, QPoint(47, 128));
    QCOMPARE(form->pointPicked(), (std::array<bool, 4>{false, false, false, true}));
    mouse(QEvent::MouseMove, QPoint(60, 128));
    mouse(QEvent::MouseButtonRelease, QPoint(60, 128));
    QCOMPARE(child<TSpincw0R>("SpTimeA4")->Value(), 44);
    QCOMPARE(rig->takeDataSets(), QStringList{QStringLiteral("03 00 10 71 | 2C")});
    QCOMPARE(EnvelopeGeometry::amplifier(form->ampValues(), false).point[3].x(), 57);

    // P1 and P2 on one spot move together; time 2 stays 0, level 2 follows.
    set("SpTimeA1", 40);
    set("SpLevA1", 80);
    set("SpLevA2", 80);
    mouse(QEvent::MouseButtonPress, QPoint(23, 50));
    QCOMPARE(form->pointPicked(), (std::array<bool, 4>{true, true, false, false}));
    for (int x = 24; x <= 40; x += 4)
        mouse(QEvent::MouseMove, QPoint(x, 50 - (x - 23)));
    mouse(QEvent::MouseButtonRelease, QPoint(40, 33));
    QCOMPARE(child<TSpincw0R>("SpTimeA2")->Value(), 0);
    QCOMPARE(child<TSpincw0R>("SpLevA2")->Value(), child<TSpincw0R>("SpLevA1")->Value());
    QCOMPARE(child<TSpincw0R>("SpTimeA1")->Value(), 74);
    QCOMPARE(child<TSpincw0R>("SpLevA1")->Value(), 97);
    compareTones();
}

void TestPtvaForm::randomWalkKeepsUnitEqualToImage()
{
    QVERIFY(open(2));
    RandomWalk walk(*form, 20261208);
    const QStringList targets = walk.targets();
    for (const PtvaParameter &row : PtvaParameter::table())
        QVERIFY2(targets.contains(QLatin1String(row.name)), row.name);
    for (const char *name : {"GrTVA", "SpT3", "SpBTOn4", "SpBCopy", "SpBPaste", "ChZoom"})
        QVERIFY2(targets.contains(QLatin1String(name)), name);
    const QStringList log = walk.run(500);
    QCOMPARE(log.size(), 500);
    const QStringList sent = rig->takeDataSets();
    QVERIFY(sent.size() > 200);
    QVERIFY(rig->info.messages.isEmpty());
    compareTones();
}

// A choice made in the open list reaches the unit, whatever the window's
// activation does while the popup closes.
void TestPtvaForm::listChoiceFromPopup()
{
    QVERIFY(open(1));
    form->activateWindow();
    QTRY_VERIFY(form->isActiveWindow());
    auto *list = child<QComboBox>("CbBiasDir");
    const int target = (list->currentIndex() + 2) % list->count();
    list->showPopup();
    QAbstractItemView *view = list->view();
    QTRY_VERIFY(view->isVisible());
    clickPopupRow(view, target);
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(list->currentIndex(), target);
    QCOMPARE(rig->takeDataSets(), QStringList{QString::asprintf("03 00 10 66 | %02X", target)});
}

QTEST_MAIN(TestPtvaForm)
#include "tst_ptvaform.moc"

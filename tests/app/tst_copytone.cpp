// The copy-tone dialog driven through its buttons, alone and from the main
// window with the virtual synthesizer behind it.

#include "app/copytoneform.h"
#include "transferrig.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
template <typename T> T *part(QDialog &d, const QString &name)
{
    return d.findChild<T *>(name);
}
QCheckBox *toBox(QDialog &d, int tone)
{
    return part<QCheckBox>(d, QStringLiteral("CBTo%1").arg(tone));
}
QByteArray toneBytes(const PatchImage &image, int tone)
{
    return QByteArray(reinterpret_cast<const char *>(image.slotData(tone)), addr::ToneSize);
}
// Tone t filled with t * 10 + offset, so every block differs from the
// others, on wave t of Int-A so the screen finds every wave.
void markTones(PatchImage &image)
{
    for (int t = 1; t <= addr::ToneCount; ++t) {
        for (int i = 0; i < addr::ToneSize; ++i)
            image.set(t, i, std::uint8_t((t * 10 + i) & 0x7F));
        image.set(t, addr::tone::WaveGroupType, 0);
        image.set(t, addr::tone::WaveGroupId, 1);
        image.set(t, addr::tone::WaveNumberHigh, 0);
        image.set(t, addr::tone::WaveNumberLow, std::uint8_t(t));
    }
}
} // namespace

class TestCopyTone : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void sourceDisablesItsOwnBox_data();
    void sourceDisablesItsOwnBox();
    void okCopiesAndSendsThePatch_data();
    void okCopiesAndSendsThePatch();
    void closedMidiStillCopies();

private:
    void clickTone(const char *prefix, int tone);
    std::unique_ptr<TransferRig> rig;
    QDialog *dialog = nullptr;
};

void TestCopyTone::init()
{
    rig = std::make_unique<TransferRig>();
    QVERIFY(rig->openMidi());
    rig->form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig->form));
    rig->info.messages.clear();
    dialog = &rig->transfer->copyToneForm();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
}

void TestCopyTone::cleanup()
{
    rig.reset();
}

void TestCopyTone::clickTone(const char *prefix, int tone)
{
    QTest::mouseClick(
        part<QAbstractButton>(*dialog, QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(tone)),
        Qt::LeftButton);
}

void TestCopyTone::sourceDisablesItsOwnBox_data()
{
    QTest::addColumn<int>("source");
    QTest::newRow("tone 2") << 2;
    QTest::newRow("tone 4") << 4;
}

void TestCopyTone::sourceDisablesItsOwnBox()
{
    QFETCH(int, source);
    QCOMPARE(dialog->windowTitle(), QStringLiteral(" Copy One Tone To Multiple Tones"));
    QVERIFY(!toBox(*dialog, 1)->isEnabled()); // tone 1 is the source at first
    // Its check mark goes when a tone becomes the source; the others keep theirs.
    const int other = source == 4 ? 3 : 4;
    clickTone("RBFrom", 2); // frees tone 1
    for (int t : {source, other})
        if (!toBox(*dialog, t)->isChecked() && toBox(*dialog, t)->isEnabled())
            QTest::mouseClick(toBox(*dialog, t), Qt::LeftButton);
    clickTone("RBFrom", source);
    QCOMPARE(part<QLabel>(*dialog, QStringLiteral("Lfrom"))->text(), QString::number(source));
    QCOMPARE(rig->state.CurrentTone, source);
    for (int t = 1; t <= addr::ToneCount; ++t) {
        QCOMPARE(toBox(*dialog, t)->isEnabled(), t != source);
        if (t == source)
            QVERIFY(!toBox(*dialog, t)->isChecked());
    }
    QVERIFY(toBox(*dialog, other)->isChecked());

    QTest::mouseClick(part<QPushButton>(*dialog, QStringLiteral("BAll")), Qt::LeftButton);
    for (int t = 1; t <= addr::ToneCount; ++t)
        QCOMPARE(toBox(*dialog, t)->isChecked(), t != source);
}

void TestCopyTone::okCopiesAndSendsThePatch_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<QList<int>>("targets");
    QTest::addColumn<bool>("ok");
    QTest::newRow("2 to 1 and 4") << 2 << QList<int>{1, 4} << true;
    // Nothing changes, but the controls reload and the whole patch goes out.
    QTest::newRow("no destination") << 1 << QList<int>{} << true;
    QTest::newRow("cancel") << 1 << QList<int>{2, 3} << false;
}

void TestCopyTone::okCopiesAndSendsThePatch()
{
    QFETCH(int, source);
    QFETCH(QList<int>, targets);
    QFETCH(bool, ok);
    markTones(rig->state.patchImage);
    // A name the screen does not show yet: the reload must bring it.
    const QByteArray name("Not Yet Seen");
    for (int i = 0; i < addr::PatchNameSize; ++i)
        rig->state.patchImage.set(0, i, std::uint8_t(name[i]));
    const PatchImage before = rig->state.patchImage;
    rig->driveDialogs([&](QDialog &) {
        clickTone("RBFrom", source);
        for (int t : targets)
            QTest::mouseClick(toBox(*dialog, t), Qt::LeftButton);
        const QString button = ok ? QStringLiteral("OKBtn") : QStringLiteral("CancelBtn");
        QTest::mouseClick(part<QPushButton>(*dialog, button), Qt::LeftButton);
    });
    QTest::mouseClick(rig->child<QPushButton>("SpCopy"), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    if (!ok) {
        QVERIFY(rig->state.patchImage == before);
        QVERIFY(rig->engine().received().isEmpty());
        return;
    }
    for (int t = 1; t <= addr::ToneCount; ++t)
        QCOMPARE(toneBytes(rig->state.patchImage, t),
                 toneBytes(before, targets.contains(t) ? source : t));
    QCOMPARE(rig->child<QLineEdit>("EPtchName")->text(), QString::fromLatin1(name));
    rig->engine().waitIdle();
    QCOMPARE(rig->engine().stats().dataSets, 5);
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(rig->unitBlock(k), rig->imageBlock(k));
}

void TestCopyTone::closedMidiStillCopies()
{
    rig->hub->closeMidi();
    rig->info.messages.clear();
    markTones(rig->state.patchImage);
    const QByteArray tone1 = toneBytes(rig->state.patchImage, 1);
    rig->driveDialogs([&](QDialog &) {
        QTest::mouseClick(toBox(*dialog, 2), Qt::LeftButton);
        QTest::mouseClick(part<QPushButton>(*dialog, QStringLiteral("OKBtn")), Qt::LeftButton);
    });
    QTest::mouseClick(rig->child<QPushButton>("SpCopy"), Qt::LeftButton);
    QCOMPARE(toneBytes(rig->state.patchImage, 2), tone1);
    QCOMPARE(rig->info.messages, QStringList{"Midi Closed\rSelect Midi Devices"});
    QCOMPARE(rig->engine().stats().dataSets, 0);
    QVERIFY(rig->engine().received().isEmpty());
}

QTEST_MAIN(TestCopyTone)
#include "tst_copytone.moc"

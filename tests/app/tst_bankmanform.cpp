// The librarian window and the main window's .syx commands, driven through
// their widgets, with the virtual synthesizer behind the hub.

#include "app/banklist.h"
#include "app/bankmanform.h"
#include "app/savesysexform.h"
#include "core/syxfile.h"
#include "transferrig.h"

#include <QAction>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
const QString RealBank = QStringLiteral(TESSIVA_TEST_DATA_DIR "/syx/JV1080_AGSOUND1_user01-46.syx");
const QString OnePatch = QStringLiteral(TESSIVA_TEST_DATA_DIR "/syx/JV1080_SuperJVPad_user023.syx");

// The names the real dump holds, in place order.
const QStringList RealNames = {
    "RedPowerBass", "Sinus QSB",    "Super W Bass", "202 Ring",     "Flat Bass",    "Empty Synth",
    "Ultra Bass",   "Deep Fingers", "Dirty Bass 2", "Sawnic Line",  "Downslide Bs", "Echo Strings",
    "Acid Choir",   "Hallbrass",    "Ancient Beep", "Wind & Rain",  "Energyzer",    "No Way Back",
    "2.2 VibLead",  "Dial! ANALOG", "Big Fat Lead", "Scream Lead",  "Permonete",    "Just Danger",
    "JUmpiNg pAD",  "Fbk Mettalll", "Crunch Split", "Last Raper",   "Funkin' Echo", "Analog Seq 2",
    "Digital Seq",  "SF RAVE",      "Dominator",    "Music Shock",  "Rave Piano 1", "Rave Piano 2",
    "Pop Grand",    "Klavier",      "Giant Piano",  "Piano + Bass", "C.C. E-Piano", "Hammer Piano",
    "StereoPnoStr", "Rave Organ 1", "Rave Organ 2", "Rave Organ 3"};

PatchImage namedPatch(const QByteArray &name, int seed)
{
    PatchImage p;
    p.Initialise();
    for (int i = 0; i < addr::PatchNameSize; ++i)
        p.set(0, i, std::uint8_t(i < name.size() ? name[i] : ' '));
    // Bytes apart from the name, so a mixed-up patch shows.
    p.set(0, addr::common::PatchLevel, std::uint8_t(seed % 128));
    p.set(1, addr::tone::OutputLevel, std::uint8_t((seed * 7) % 128));
    return p;
}

QStringList shownNames(TBankList *list, int first, int last)
{
    QStringList names;
    for (int place = first; place <= last; ++place)
        names << list->item(place - 1, TBankList::NameColumn)->text();
    return names;
}

QList<int> visiblePlaces(TBankList *list)
{
    QList<int> places;
    for (int row = 0; row < list->rowCount(); ++row)
        if (!list->isRowHidden(row))
            places << row + 1;
    return places;
}

QList<int> changedPlaces(const PatchBank &bank)
{
    QList<int> places;
    for (int place = 1; place <= PatchBank::PlaceCount; ++place)
        if (bank.changed(place))
            places << place;
    return places;
}
} // namespace

class TestBankManForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void openingARealBankShowsItsNames();
    void searchFiltersBothLists_data();
    void searchFiltersBothLists();
    void dragAndDropMarksChanged_data();
    void dragAndDropMarksChanged();
    void writingAsksFirstAndTheUnitHoldsTheBytes();
    void auditionLoadsThePlace();
    void fetchShowsProgressAndCancelKeepsWhatArrived();
    void openSysexLoadsOneOrOpensSeveral();
    void saveSysexAddressesTheChosenPlace_data();
    void saveSysexAddressesTheChosenPlace();

private:
    TBankManForm &bankMan() { return rig->sysex->bankManForm(); }
    template <typename T> T *part(const char *name) { return bankMan().findChild<T *>(name); }
    void chooseFile(const QString &path);
    // A file bank of the given names from place 1 on, without a file.
    void showFileBank(const QList<QByteArray> &names);
    // Clicks place first, shift-clicks place last.
    void selectPlaces(TBankList *list, int first, int last);
    void drop(TBankList *from, TBankList *to, int target, Qt::KeyboardModifiers mods);
    QByteArray unitPlace(int place, int block);

    std::unique_ptr<TransferRig> rig;
    std::unique_ptr<QTemporaryDir> folder;
};

void TestBankManForm::init()
{
    folder = std::make_unique<QTemporaryDir>();
    rig = std::make_unique<TransferRig>();
    QVERIFY(rig->openMidi());
    rig->form.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig->form));
    rig->info.messages.clear();
}

void TestBankManForm::cleanup()
{
    rig.reset();
}

void TestBankManForm::chooseFile(const QString &path)
{
    rig->files->setFileChooser([path](const FileDialogRequest &) { return path; });
}

void TestBankManForm::showFileBank(const QList<QByteArray> &names)
{
    PatchBank bank;
    for (int i = 0; i < names.size(); ++i)
        bank.setPatch(i + 1, namedPatch(names[i], i + 1), false);
    bankMan().showFileBank(bank, folder->filePath(QStringLiteral("made.syx")));
    bankMan().show();
    QVERIFY(QTest::qWaitForWindowExposed(&bankMan()));
}

void TestBankManForm::selectPlaces(TBankList *list, int first, int last)
{
    list->scrollToItem(list->item(first - 1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->placeRect(first).center());
    list->scrollToItem(list->item(last - 1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      list->placeRect(last).center());
}

// A drag cannot run on the offscreen platform; the drop gets the very data
// the source list hands its drag.
void TestBankManForm::drop(TBankList *from, TBankList *to, int target, Qt::KeyboardModifiers mods)
{
    std::unique_ptr<QMimeData> data(from->dragMime());
    QVERIFY(data);
    to->scrollToItem(to->item(target - 1, 0));
    const QPoint at = to->placeRect(target).center();
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, mods);
    QCoreApplication::sendEvent(to->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, mods);
    QCoreApplication::sendEvent(to->viewport(), &move);
    QVERIFY(move.isAccepted());
    QDropEvent dropped(QPointF(at), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                       mods);
    QCoreApplication::sendEvent(to->viewport(), &dropped);
    QVERIFY(dropped.isAccepted());
}

QByteArray TestBankManForm::unitPlace(int place, int block)
{
    rig->engine().waitIdle();
    const SynthMemory memory = rig->engine().memory();
    const PatchMemory &p = memory.patch(SynthMemory::Bank::User, place - 1);
    return QByteArray(reinterpret_cast<const char *>(p.block(block)), addr::blockSize(block));
}

void TestBankManForm::openingARealBankShowsItsNames()
{
    chooseFile(RealBank);
    rig->form.findChild<QAction *>("MBankManager")->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(&bankMan()));
    QTest::mouseClick(part<QPushButton>("BOpenBank"), Qt::LeftButton);
    QVERIFY2(rig->info.messages.isEmpty(), qPrintable(rig->info.messages.join('|')));
    auto *list = part<TBankList>("LvFile");
    QCOMPARE(shownNames(list, 1, int(RealNames.size())), RealNames);
    QCOMPARE(bankMan().fileBank().filledCount(), RealNames.size());
    QCOMPARE(list->item(46, TBankList::NameColumn)->text(), QString());
    QCOMPARE(changedPlaces(bankMan().fileBank()), QList<int>{});
    QCOMPARE(bankMan().filePath(), RealBank);
}

void TestBankManForm::searchFiltersBothLists_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("fileShown");
    QTest::addColumn<QList<int>>("synthShown");
    QTest::newRow("any letter case") << "STRINGS" << QList<int>{1, 3} << QList<int>{21};
    QTest::newRow("inner part") << "ass" << QList<int>{2} << QList<int>{};
    QTest::newRow("no match") << "Choir" << QList<int>{} << QList<int>{};
}

void TestBankManForm::searchFiltersBothLists()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, fileShown);
    QFETCH(QList<int>, synthShown);
    showFileBank({"Strings 1", "Bass", "Pad Strings"});
    auto *file = part<TBankList>("LvFile");
    auto *synth = part<TBankList>("LvSynth");
    selectPlaces(file, 3, 3);
    drop(file, synth, 21, Qt::NoModifier);

    auto *search = part<QLineEdit>("ESearch");
    QTest::mouseClick(search, Qt::LeftButton);
    QTest::keyClicks(search, typed);
    QCOMPARE(visiblePlaces(file), fileShown);
    QCOMPARE(visiblePlaces(synth), synthShown);
    for (int place : fileShown)
        QVERIFY(file->item(place - 1, TBankList::NameColumn)->font().bold());
    // Clearing the field shows every place again, bold no more.
    search->selectAll();
    QTest::keyClick(search, Qt::Key_Delete);
    QCOMPARE(visiblePlaces(file).size(), PatchBank::PlaceCount);
    QCOMPARE(visiblePlaces(synth).size(), PatchBank::PlaceCount);
    QVERIFY(!file->item(0, TBankList::NameColumn)->font().bold());
}

void TestBankManForm::dragAndDropMarksChanged_data()
{
    QTest::addColumn<bool>("toSynth");
    QTest::addColumn<int>("mods");
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("fileNames");  // places 1..4 afterwards
    QTest::addColumn<QStringList>("synthNames"); // places target..target+1
    QTest::addColumn<QList<int>>("fileChanged");
    QTest::addColumn<QList<int>>("synthChanged");
    const QStringList untouched{"One", "Two", "Three", ""};
    QTest::newRow("between banks copies")
        << true << 0 << 10 << untouched << QStringList{"Two", "Three"} << QList<int>{}
        << QList<int>{10, 11};
    QTest::newRow("Ctrl between banks moves")
        << true << int(Qt::ControlModifier) << 127 << QStringList{"One", "", "", ""}
        << QStringList{"Two", "Three"} << QList<int>{2, 3} << QList<int>{127, 128};
    QTest::newRow("within a bank moves")
        << false << 0 << 3 << QStringList{"One", "", "Two", "Three"} << QStringList{"", ""}
        << QList<int>{2, 3, 4} << QList<int>{};
    QTest::newRow("Ctrl within a bank copies")
        << false << int(Qt::ControlModifier) << 4 << QStringList{"One", "Two", "Three", "Two"}
        << QStringList{"", ""} << QList<int>{4, 5} << QList<int>{};
}

void TestBankManForm::dragAndDropMarksChanged()
{
    QFETCH(bool, toSynth);
    QFETCH(int, mods);
    QFETCH(int, target);
    QFETCH(QStringList, fileNames);
    QFETCH(QStringList, synthNames);
    QFETCH(QList<int>, fileChanged);
    QFETCH(QList<int>, synthChanged);
    showFileBank({"One", "Two", "Three"});
    auto *file = part<TBankList>("LvFile");
    auto *synth = part<TBankList>("LvSynth");
    // Three places dropped onto the last two do not fit: refused whole.
    selectPlaces(file, 1, 3);
    drop(file, toSynth ? synth : file, PatchBank::PlaceCount - 1, Qt::KeyboardModifiers(mods));
    QCOMPARE(rig->info.messages.size(), 1);
    QVERIFY2(rig->info.messages.first().contains(QLatin1String("do not fit")),
             qPrintable(rig->info.messages.first()));
    QCOMPARE(changedPlaces(bankMan().fileBank()), QList<int>{});
    QCOMPARE(bankMan().synthBank().filledCount(), 0);
    rig->info.messages.clear();

    selectPlaces(file, 2, 3);
    drop(file, toSynth ? synth : file, target, Qt::KeyboardModifiers(mods));

    QVERIFY2(rig->info.messages.isEmpty(), qPrintable(rig->info.messages.join('|')));
    QCOMPARE(shownNames(file, 1, 4), fileNames);
    const int first = std::min(target, PatchBank::PlaceCount - 1);
    QCOMPARE(shownNames(synth, first, first + 1), synthNames);
    QCOMPARE(changedPlaces(bankMan().fileBank()), fileChanged);
    QCOMPARE(changedPlaces(bankMan().synthBank()), synthChanged);
    for (int place : synthChanged)
        QCOMPARE(synth->item(place - 1, TBankList::ChangedColumn)->text(), QStringLiteral("*"));
    // The copies are whole patches, not only names.
    if (toSynth)
        QVERIFY(*bankMan().synthBank().patch(target) == namedPatch("Two", 2));
    // A drop onto the synth bank stays local until written.
    QVERIFY(rig->engine().received().isEmpty());
}

void TestBankManForm::writingAsksFirstAndTheUnitHoldsTheBytes()
{
    showFileBank({"Alpha", "Beta", "Gamma"});
    auto *file = part<TBankList>("LvFile");
    auto *synth = part<TBankList>("LvSynth");
    selectPlaces(file, 1, 3);
    drop(file, synth, 12, Qt::NoModifier);

    // Refused: nothing leaves.
    rig->info.answer = false;
    selectPlaces(synth, 12, 14);
    QTest::mouseClick(part<QPushButton>("BWrite"), Qt::LeftButton);
    QCOMPARE(rig->info.questions.size(), 1);
    const QString question = rig->info.questions.first();
    for (const char *line :
         {"USER 012 (not fetched) with \"Alpha\"", "USER 013 (not fetched) with \"Beta\"",
          "USER 014 (not fetched) with \"Gamma\"", "Overwrite 3 places"})
        QVERIFY2(question.contains(QLatin1String(line)), qPrintable(question));
    QVERIFY(rig->engine().waitIdle());
    QVERIFY(rig->engine().received().isEmpty());
    QCOMPARE(changedPlaces(bankMan().synthBank()), (QList<int>{12, 13, 14}));

    rig->info.answer = true;
    QTest::mouseClick(part<QPushButton>("BWrite"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!bankMan().busy(), 30000);
    QVERIFY2(rig->info.messages.isEmpty(), qPrintable(rig->info.messages.join('|')));
    for (int place = 12; place <= 14; ++place)
        for (int k = 0; k < addr::SlotCount; ++k)
            QCOMPARE(unitPlace(place, k),
                     QByteArray(reinterpret_cast<const char *>(
                                    bankMan().synthBank().patch(place)->slotData(k)),
                                addr::blockSize(k)));
    QCOMPARE(changedPlaces(bankMan().synthBank()), QList<int>{});
    // Places around the range were left alone.
    QCOMPARE(unitPlace(11, 0).left(addr::PatchNameSize), QByteArray("Init U:011  "));
    QCOMPARE(unitPlace(15, 0).left(addr::PatchNameSize), QByteArray("Init U:015  "));
}

void TestBankManForm::auditionLoadsThePlace()
{
    showFileBank({"Quiet", "Loud Lead"});
    auto *file = part<TBankList>("LvFile");
    // A double click arrives after the press and release of its first click.
    QTest::mouseClick(file->viewport(), Qt::LeftButton, Qt::NoModifier,
                      file->placeRect(2).center());
    QTest::mouseDClick(file->viewport(), Qt::LeftButton, Qt::NoModifier,
                       file->placeRect(2).center());
    const PatchImage expected = namedPatch("Loud Lead", 2);
    QVERIFY(rig->state.patchImage == expected);
    QCOMPARE(rig->child<QLineEdit>("EPtchName")->text(), QStringLiteral("Loud Lead   "));
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(rig->unitBlock(k), rig->imageBlock(k));
    QVERIFY(rig->form.PatchFileName.isEmpty());

    // Return and the button play the current place; an empty one is
    // refused.
    QTest::keyClick(file, Qt::Key_Up);
    QTest::keyClick(file, Qt::Key_Return);
    QCOMPARE(rig->state.patchImage.name(), QByteArray("Quiet       "));
    QCOMPARE(rig->unitBlock(0), rig->imageBlock(0));
    QTest::keyClick(file, Qt::Key_Down);
    QTest::mouseClick(part<QPushButton>("BAudition"), Qt::LeftButton);
    QCOMPARE(rig->state.patchImage.name(), QByteArray("Loud Lead   "));
    QTest::mouseClick(file->viewport(), Qt::LeftButton, Qt::NoModifier,
                      file->placeRect(5).center());
    QTest::mouseClick(part<QPushButton>("BAudition"), Qt::LeftButton);
    QCOMPARE(rig->info.messages, QStringList{"Choose a filled place to audition."});
    QCOMPARE(rig->state.patchImage.name(), QByteArray("Loud Lead   "));
}

void TestBankManForm::fetchShowsProgressAndCancelKeepsWhatArrived()
{
    // At wire speed a place takes some 200 ms: time enough to cancel.
    rig->engine().setWireSpeed(true);
    QTest::keyClick(&rig->form, Qt::Key_F3);
    QVERIFY(QTest::qWaitForWindowExposed(&bankMan()));
    QTest::mouseClick(part<QPushButton>("BFetchAll"), Qt::LeftButton);
    auto *bar = part<QProgressBar>("PbTransfer");
    QTRY_VERIFY_WITH_TIMEOUT(bar->value() >= 2, 30000);
    QVERIFY2(part<QLabel>("LTransfer")->text().startsWith(QLatin1String("Fetching U:00")),
             qPrintable(part<QLabel>("LTransfer")->text()));
    QCOMPARE(bar->maximum(), PatchBank::PlaceCount);
    QTest::mouseClick(part<QPushButton>("BCancel"), Qt::LeftButton);
    QVERIFY(!bankMan().busy());
    const int kept = bankMan().synthBank().filledCount();
    QVERIFY(kept >= 2 && kept < PatchBank::PlaceCount);
    QVERIFY(rig->engine().waitIdle());
    const int sent = int(rig->engine().received().size());
    auto *synth = part<TBankList>("LvSynth");
    for (int place = 1; place <= kept; ++place) {
        QVERIFY(bankMan().synthBank().has(place));
        QCOMPARE(synth->item(place - 1, TBankList::NameColumn)->text(),
                 QStringLiteral("Init U:%1").arg(place, 3, 10, QLatin1Char('0')));
    }
    QCOMPARE(changedPlaces(bankMan().synthBank()), QList<int>{});
    QVERIFY(rig->info.messages.isEmpty());
    // Nothing more is asked once cancelled.
    QCoreApplication::processEvents();
    QVERIFY(rig->engine().waitIdle());
    QCOMPARE(int(rig->engine().received().size()), sent);
}

void TestBankManForm::openSysexLoadsOneOrOpensSeveral()
{
    chooseFile(OnePatch);
    rig->form.findChild<QAction *>("MOpenSysex")->trigger();
    QVERIFY2(rig->info.messages.isEmpty(), qPrintable(rig->info.messages.join('|')));
    QCOMPARE(rig->state.patchImage.name(), QByteArray("Super JV Pad"));
    QCOMPARE(rig->child<QLineEdit>("EPtchName")->text(), QStringLiteral("Super JV Pad"));
    for (int k = 0; k < addr::SlotCount; ++k)
        QCOMPARE(rig->unitBlock(k), rig->imageBlock(k));
    QVERIFY(!rig->sysex->hasBankManForm());

    chooseFile(RealBank);
    const PatchImage before = rig->state.patchImage;
    rig->form.findChild<QAction *>("MOpenSysex")->trigger();
    QVERIFY(rig->sysex->hasBankManForm());
    QVERIFY(QTest::qWaitForWindowExposed(&bankMan()));
    QCOMPARE(bankMan().fileBank().filledCount(), RealNames.size());
    QVERIFY(rig->state.patchImage == before);

    // A file without a patch is told and changes nothing.
    const QString junk = folder->filePath(QStringLiteral("junk.syx"));
    QFile f(junk);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(100, 'x'));
    f.close();
    chooseFile(junk);
    rig->form.findChild<QAction *>("MOpenSysex")->trigger();
    QCOMPARE(rig->info.messages.size(), 1);
    QVERIFY2(rig->info.messages.first().contains(QLatin1String("junk.syx")),
             qPrintable(rig->info.messages.first()));
    QVERIFY(rig->state.patchImage == before);
    QCOMPARE(bankMan().fileBank().filledCount(), RealNames.size());
}

void TestBankManForm::saveSysexAddressesTheChosenPlace_data()
{
    QTest::addColumn<int>("place"); // 0 for the temporary patch
    QTest::newRow("temporary patch") << 0;
    QTest::newRow("USER 128") << 128;
}

void TestBankManForm::saveSysexAddressesTheChosenPlace()
{
    QFETCH(int, place);
    rig->fillImage("Saved Sysex", 11);
    const QString file = folder->filePath(QStringLiteral("out.syx"));
    QString proposed;
    rig->files->setFileChooser([&](const FileDialogRequest &r) {
        proposed = r.proposed;
        return file;
    });
    rig->driveDialogs([place](QDialog &d) {
        if (place > 0) {
            QTest::mouseClick(d.findChild<QRadioButton *>("RBUserPlace"), Qt::LeftButton);
            auto *spin = d.findChild<QSpinBox *>("SpPlace");
            spin->selectAll();
            QTest::keyClicks(spin, QString::number(place));
        }
        QTest::mouseClick(d.findChild<QPushButton *>("BOK"), Qt::LeftButton);
    });
    rig->form.findChild<QAction *>("MSaveSysex")->trigger();
    QCOMPARE(proposed, QStringLiteral("Saved_Sy.syx"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const QByteArray expected = place > 0
                                    ? SyxFile::placePatch(rig->state.patchImage, false, place, 17)
                                    : SyxFile::temporaryPatch(rig->state.patchImage, 17);
    QCOMPARE(bytes, expected);
    // Where the first message goes, as the unit reads it.
    const QByteArray address =
        place > 0 ? QByteArray("\x11\x7F\x00\x00", 4) : QByteArray("\x03\x00\x00\x00", 4);
    QCOMPARE(bytes.mid(5, 4).toHex(' '), address.toHex(' '));
    QCOMPARE(rig->child<QLabel>("LInfo")->text(), QStringLiteral("%1 bytes ok").arg(bytes.size()));

    // Cancelled: no file is asked for.
    proposed.clear();
    rig->driveDialogs([](QDialog &) {});
    rig->form.findChild<QAction *>("MSaveSysex")->trigger();
    QVERIFY(proposed.isEmpty());
}

QTEST_MAIN(TestBankManForm)
#include "tst_bankmanform.moc"

#include "app/maineditorhost.h"

#include "app/hubcontrol.h"
#include "app/mainform.h"
#include "controls/focuscombobox.h"
#include "controls/sliderbase.h"
#include "controls/spincw0r.h"
#include "core/infosink.h"
#include "core/programdir.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>

bool MainEditorHost::toneSwitchOn(int tone) const
{
    return main_.ChkTone(tone)->isChecked();
}

void MainEditorHost::setToneSwitch(int tone, bool on)
{
    main_.ChkTone(tone)->setChecked(on);
}

QString MainEditorHost::waveName(int tone) const
{
    return main_.EWavetxt(tone)->text();
}

int MainEditorHost::partChannel() const
{
    return main_.partChannel();
}

int MainEditorHost::testNote() const
{
    return main_.hub() ? main_.hub()->testNote() : HubControl::StartTestNote;
}

void MainEditorHost::sendShort(int status, int data1, int data2)
{
    if (main_.hub())
        main_.hub()->SendShort(status, data1, data2);
}

void MainEditorHost::showInfo(const QString &text)
{
    main_.infoSink().ShowInfo(text);
}

QStringList MainEditorHost::waveGroupNames() const
{
    QStringList rows;
    const QComboBox *list = main_.CbSourceT(1);
    for (int r = 0; r < list->count(); ++r)
        rows << list->itemText(r);
    return rows;
}

bool MainEditorHost::waveGroupSelectable(int row) const
{
    const auto *list = qobject_cast<const TFocusComboBox *>(main_.CbSourceT(1));
    if (row < 0 || row >= main_.CbSourceT(1)->count())
        return false;
    return !list || list->isRowSelectable(row);
}

int MainEditorHost::waveGroupRow(int tone) const
{
    return main_.CbSourceT(tone)->currentIndex();
}

int MainEditorHost::waveGroupCount(int row) const
{
    return main_.WaveGroupCount(row);
}

int MainEditorHost::waveNumber(int tone) const
{
    return main_.SpcWaveT(tone)->Value();
}

QString MainEditorHost::waveListFolder() const
{
    return main_.programDir() + QLatin1String(ExpansionFolderName) + QLatin1Char('/');
}

void MainEditorHost::selectWave(int tone, int row, int wave)
{
    main_.CbSourceT(tone)->setCurrentIndex(row);
    TSpincw0R *spin = main_.SpcWaveT(tone);
    // The new group's count first, so the number is not cut to the old one's;
    // one handler run afterwards sends group and number in one data set.
    spin->setMaxValue(main_.WaveGroupCount(row));
    {
        const QSignalBlocker quiet(spin);
        spin->setValue(wave);
    }
    main_.CbSourceT1Change(tone);
}

void MainEditorHost::setMainSlider(MainSlider slider, int stored)
{
    // The pan slider shows the stored byte less its centre.
    constexpr int PanCentre = 64;
    const char *name = "SlLevel";
    int position = stored;
    switch (slider) {
    case MainSlider::Level:
        break;
    case MainSlider::Pan:
        name = "SlPPan";
        position = stored - PanCentre;
        break;
    case MainSlider::Chorus:
        name = "SlChorus";
        break;
    case MainSlider::Reverb:
        name = "SlReverb";
        break;
    }
    if (auto *s = main_.findChild<TSliderBase *>(QLatin1String(name)))
        s->setPosition(position);
}

void MainEditorHost::selectPerformMode(bool perform)
{
    auto *button = main_.findChild<QAbstractButton *>(
        perform ? QStringLiteral("SpBPerf") : QStringLiteral("SpBPatch"));
    if (!button)
        return;
    button->setChecked(true);
    main_.SpBPerfClick(button);
}

void MainEditorHost::setUpdateFromJv()
{
    main_.setUpdateFromJv(true);
}

void MainEditorHost::openEffectsScreen()
{
    if (auto *b = main_.findChild<QAbstractButton *>(QStringLiteral("BEffect")))
        b->click();
}

void MainEditorHost::raiseMainWindow()
{
    main_.show();
    main_.raise();
    main_.activateWindow();
}

void MainEditorHost::transfer(Transfer what, int place)
{
    main_.requestTransfer(what, place);
}

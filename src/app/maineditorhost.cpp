#include "app/maineditorhost.h"

#include "app/hubcontrol.h"
#include "app/mainform.h"

#include <QCheckBox>
#include <QLineEdit>

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

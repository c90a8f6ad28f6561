#include "editors/parametercontrol.h"

#include "controls/focuscombobox.h"
#include "controls/spincw0r.h"
#include "core/editstate.h"
#include "core/sendguard.h"
#include "midi/sysexprotocol.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {
constexpr char16_t FirstNameChar = 0x20;
constexpr char16_t LastNameChar = 0x7D;
// Lists longer than this open as a scrolling popup of this many rows.
constexpr int ListRows = 16;
} // namespace

QWidget *ParameterControl::create(const ParameterDef &def, const QString &name, QWidget *parent)
{
    QWidget *w = nullptr;
    switch (def.kind) {
    case ParameterDef::Kind::Switch:
        w = new QCheckBox(parent);
        break;
    case ParameterDef::Kind::List:
    case ParameterDef::Kind::Group: {
        auto *list = new TFocusComboBox(parent);
        if (def.kind == ParameterDef::Kind::List)
            list->addItems(ParameterTexts::texts(def.texts).mid(0, def.max + 1));
        list->setMaxVisibleItems(ListRows);
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        w = list;
        break;
    }
    case ParameterDef::Kind::Name: {
        auto *edit = new QLineEdit(parent);
        edit->setMaxLength(ParameterDef::NameSize);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(
                                QString(ParameterDef::NameSize, QLatin1Char('W'))) +
                            edit->fontMetrics().averageCharWidth() * 2);
        w = edit;
        break;
    }
    case ParameterDef::Kind::Number:
    case ParameterDef::Kind::NibblePair: {
        auto *spin = new TSpincw0R(parent);
        spin->setMinValue(def.shownMin());
        spin->setMaxValue(def.shownMax());
        spin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        w = spin;
        break;
    }
    }
    w->setObjectName(name);
    w->setToolTip(QLatin1String(def.caption));
    return w;
}

void ParameterControl::show(QWidget *control, const ParameterDef &def, int v)
{
    if (auto *box = qobject_cast<QCheckBox *>(control)) {
        box->setChecked(v != 0);
    } else if (auto *list = qobject_cast<QComboBox *>(control)) {
        list->setCurrentIndex(v >= 0 && v < list->count() ? v : -1);
    } else if (auto *spin = qobject_cast<TSpincw0R *>(control)) {
        spin->setValue(v + def.shift);
    }
}

int ParameterControl::stored(const QWidget *control, const ParameterDef &def)
{
    if (auto *box = qobject_cast<const QCheckBox *>(control))
        return box->isChecked() ? 1 : 0;
    if (auto *list = qobject_cast<const QComboBox *>(control))
        return list->currentIndex();
    if (auto *spin = qobject_cast<const TSpincw0R *>(control))
        return spin->Value() - def.shift;
    return -1;
}

void ParameterControl::onEdit(QWidget *control, const ParameterDef &def, QObject *context,
                              const std::function<void()> &edited)
{
    Q_UNUSED(def)
    if (auto *box = qobject_cast<QCheckBox *>(control)) {
        QObject::connect(box, &QCheckBox::clicked, context, edited);
    } else if (auto *list = qobject_cast<QComboBox *>(control)) {
        QObject::connect(list, &QComboBox::activated, context, edited);
    } else if (auto *spin = qobject_cast<TSpincw0R *>(control)) {
        QObject::connect(spin, &TSpincw0R::OnChange, context, edited);
        QObject::connect(spin, &TSpincw0R::OnChanging, context, edited);
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        QObject::connect(edit, &QLineEdit::textEdited, context, edited);
        QObject::connect(edit, &QLineEdit::returnPressed, context, edited);
    }
}

void ParameterControl::showName(QLineEdit *edit, const std::uint8_t *bytes)
{
    QString text;
    for (int i = 0; i < ParameterDef::NameSize; ++i) {
        const char16_t c = bytes[i];
        text += QChar(c < FirstNameChar || c > LastNameChar ? char16_t(' ') : c);
    }
    const QSignalBlocker quiet(edit);
    edit->setText(text);
}

std::array<std::uint8_t, ParameterDef::NameSize> ParameterControl::nameBytes(QLineEdit *edit)
{
    std::array<std::uint8_t, ParameterDef::NameSize> name;
    name.fill(std::uint8_t(' '));
    QString text = edit->text().left(ParameterDef::NameSize);
    bool replaced = false;
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        // What the unit cannot show becomes a blank, on screen too, so the
        // field never shows a name the unit does not have.
        if (c < FirstNameChar || c > LastNameChar) {
            text[i] = QLatin1Char(' ');
            replaced = true;
        }
        name[std::size_t(i)] = std::uint8_t(text.at(i).unicode());
    }
    if (replaced) {
        const int cursor = edit->cursorPosition();
        const QSignalBlocker quiet(edit);
        edit->setText(text);
        edit->setCursorPosition(cursor);
    }
    return name;
}

bool ParameterControl::send(SysexProtocol &protocol, const EditState &state,
                            const addr::Address &adrs, const std::uint8_t *bytes, int count)
{
    if (state.SendLock || count < 1)
        return false;
    if (count == 1)
        return protocol.SendParameter(adrs, bytes[0]);
    bool changed = false;
    for (int i = 0; i < count && !changed; ++i) {
        addr::Address a = adrs;
        a[3] = std::uint8_t(adrs[3] + i);
        changed = SendGuard::changed(state, a, bytes[i]);
    }
    if (changed)
        protocol.SendDataSet(adrs, bytes, count);
    return changed;
}

#include "settingcell.h"

#include "celltext.h"

#include "data/protocol.h"

namespace {

using Entry = SystemSettings::Entry;

CellKind kindOf(Entry entry)
{
    switch (entry) {
    case Entry::Number:
        return CellKind::Number;
    case Entry::Signed:
        return CellKind::Signed;
    case Entry::OnOff:
    case Entry::Lock:
        return CellKind::Choice;
    case Entry::Taught:
        return CellKind::Taught;
    case Entry::Belt:
        return CellKind::Belt;
    case Entry::None:
        break;
    }
    return CellKind::Empty;
}

} // namespace

ParamCell SettingCell::of(int word, int address)
{
    const SystemSettings::Setting *s = SystemSettings::shown(word);
    if (!s)
        return {};
    // Signed and taught values are stored from the needle counter's zero, as positions are.
    const bool biased = s->entry == Entry::Signed || s->entry == Entry::Taught;
    const ChoiceSet *choices = s->entry == Entry::OnOff ? &kOnOff : s->entry == Entry::Lock ? &kLock : nullptr;
    return {QString::fromUtf8(s->label), QString::fromUtf8(s->help), kindOf(s->entry), s->min, s->max,
            biased ? Protocol::NeedleZero : 0, word, address, choices};
}

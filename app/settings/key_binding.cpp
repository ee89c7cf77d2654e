#include "app/settings/key_binding.h"

#include <algorithm>

#include "system/key_names.h"
#include "system/pad_names.h"

namespace {

bool Has(const std::vector<int32_t>& codes, int32_t code)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

void SetCodes(TSettingValues& values, TSettingId id, TBindingKind kind, std::vector<int32_t> codes)
{
    TSettingValue value;
    value.keyText = BindingText(kind, codes);
    value.keys = std::move(codes);
    values.Set(id, std::move(value));
}

} // namespace

TSettingId BindingSetting(TPlayAction action, TBindingKind kind)
{
    return kind == TBindingKind::Key ? ActionSettings[action] : ActionPadSettings[action];
}

std::string BindingName(TBindingKind kind, int32_t code)
{
    return kind == TBindingKind::Key ? KeyNameForCode(code) : PadButtonName(code);
}

std::string BindingText(TBindingKind kind, const std::vector<int32_t>& codes)
{
    std::string text;
    for (const int32_t code : codes)
        text += (text.empty() ? "" : ", ") + BindingName(kind, code);
    return text;
}

TBindingResult Bind(TSettingValues& values, TPlayAction action, TBindingKind kind, int32_t code)
{
    const bool reserved = kind == TBindingKind::Key ? IsReservedKey(code) : IsReservedPadButton(code);
    if (reserved || BindingName(kind, code).empty())
        return {TBindingOutcome::Reserved};
    const TSettingId id = BindingSetting(action, kind);
    std::vector<int32_t> codes = values.Keys(id);
    if (Has(codes, code))
        return {TBindingOutcome::Unchanged};
    const int32_t replaced = codes.empty() ? 0 : codes.front();
    TBindingResult result{TBindingOutcome::Bound};
    for (int32_t other = 0; other < PlayActionCount; ++other) {
        const TSettingId otherId = BindingSetting(static_cast<TPlayAction>(other), kind);
        std::vector<int32_t> theirs = values.Keys(otherId);
        const auto at = std::find(theirs.begin(), theirs.end(), code);
        if (other == action || at == theirs.end())
            continue;
        // The one replaced goes where the new one was, unless they have it already.
        if (replaced != 0 && !Has(theirs, replaced))
            *at = replaced;
        else
            theirs.erase(at);
        SetCodes(values, otherId, kind, std::move(theirs));
        result = {TBindingOutcome::Swapped, static_cast<TPlayAction>(other)};
    }
    if (codes.empty())
        codes.push_back(code);
    else
        codes.front() = code;
    SetCodes(values, id, kind, std::move(codes));
    return result;
}

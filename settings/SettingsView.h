#pragma once

#include <string>

#include "settings/SettingsForm.h"

namespace zelvo {

// The settings page as its logic sees it.
class SettingsView {
public:
    virtual ~SettingsView() = default;
    virtual SettingsForm ReadForm() const = 0;
    // The message banner, with its error and notice colours.
    virtual void ShowError(const std::u16string& text) = 0;
    virtual void ShowNotice(const std::u16string& text) = 0;
    virtual void ClearField(SettingsField field) = 0;
    // Empties every box and forgets every held value.
    virtual void ClearForm() = 0;
    virtual void FocusField(SettingsField field) = 0;
};

}  // namespace zelvo

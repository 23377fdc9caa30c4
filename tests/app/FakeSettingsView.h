#pragma once

#include <map>
#include <string>
#include <vector>

#include "SettingsFormView.h"

namespace vigilon::test {

// Controls as plain values, and a record of focus moves, closes and
// self-test runs. Every box starts enabled.
class FakeSettingsView : public app::SettingsFormView {
public:
    std::string GetText(int id) const override {
        auto it = texts.find(id);
        return it == texts.end() ? "" : it->second;
    }
    void SetText(int id, const std::string& text) override { texts[id] = text; }
    bool IsChecked(int id) const override {
        auto it = checks.find(id);
        return it != checks.end() && it->second;
    }
    void SetChecked(int id, bool checked) override { checks[id] = checked; }
    void EnableControl(int id, bool enabled) override {
        this->enabled[id] = enabled;
        enableOrder.push_back(id);
    }
    void FocusAndSelectAll(int id) override { focused.push_back(id); }
    void CloseDialog(app::DialogResult result) override { closed.push_back(result); }
    void RunSelfTest(const app::SelfTestInputs& inputs) override { selfTests.push_back(inputs); }

    bool IsEnabled(int id) const {
        auto it = enabled.find(id);
        return it == enabled.end() || it->second;
    }

    std::map<int, std::string> texts;
    std::map<int, bool> checks;
    std::map<int, bool> enabled;
    std::vector<int> enableOrder;
    std::vector<int> focused;
    std::vector<app::DialogResult> closed;
    std::vector<app::SelfTestInputs> selfTests;
};

}  // namespace vigilon::test

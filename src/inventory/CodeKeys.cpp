#include "inventory/CodeKeys.h"

namespace {
constexpr size_t CodeLength = 13;

bool buildsCode(char key) {
    return key == '/' || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
}
} // namespace

CodeKey TakeCodeKey(std::string& EnteredCode, char& key) {
    if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
    if (key == '\r') {
        key = 0;
        return EnteredCode.empty() ? CodeKey::EnterOnEmpty : CodeKey::Completed;
    }
    if (key == '\b') {
        if (!EnteredCode.empty()) EnteredCode.pop_back();
        return CodeKey::Typed;
    }
    if (!buildsCode(key) || EnteredCode.size() >= CodeLength) {
        key = 0;
        return CodeKey::Dropped;
    }
    EnteredCode.push_back(key);
    if (EnteredCode.size() < CodeLength) return CodeKey::Typed;
    key = 0;
    return CodeKey::Completed;
}

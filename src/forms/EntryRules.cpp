#include "forms/EntryRules.h"

#include "store/Configuration.h"
#include "store/Padding.h"

#include <algorithm>

namespace EntryRules {

char upper(char key) {
    return key >= 'a' && key <= 'z' ? static_cast<char>(key - 32) : key;
}

bool isAmountKey(char key) {
    return (key >= '0' && key <= '9') || key == '.' || key == Backspace;
}

bool isCodeKey(char key, bool servicesAllowed) {
    return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || key == Backspace ||
           (servicesAllowed && key == '/');
}

bool isSalesPersonCode(const Configuration& config, char key) {
    const std::string code(1, upper(key));
    const auto& codes = config.SalesPersonCode;
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

CodeKey applyCodeKey(std::string& code, char key, bool servicesAllowed, bool mayStepBack) {
    CodeKey result{upper(key), CodeStep::Typing, false};
    char& k = result.key;
    if (k == Enter) result.step = code.empty() ? CodeStep::EmptyEnter : CodeStep::Complete;
    if (k == Esc && mayStepBack) return {0, CodeStep::StepBack, false};
    if (!isCodeKey(k, servicesAllowed)) {
        k = 0;
    } else if (k == Backspace) {
        if (!code.empty()) code.pop_back();
    } else if (code.size() < CodeLength) {
        code.push_back(k);
    }
    if (code.size() == CodeLength && k != 0 && k != Backspace) {
        result.step = CodeStep::Complete;
        result.byLength = true;
    }
    if (result.step == CodeStep::Complete) {
        k = 0;
        code = PadRight(code, CodeLength);
    }
    return result;
}

} // namespace EntryRules

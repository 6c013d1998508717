#include "forms/CodeField.h"

#include "forms/EntryField.h"
#include "forms/EntryRules.h"
#include "forms/HelpLines.h"
#include "platform/Cp1252.h"
#include "platform/Dialogs.h"

using EntryRules::CodeStep;

CodeField::CodeField(EntryField*& field, std::string& code, const HelpLines& help, Dialogs& dialogs,
                     Settings settings)
    : m_field(field), m_code(code), m_help(help), m_dialogs(dialogs), m_settings(settings) {}

void CodeField::keyDown(int& key, Qt::KeyboardModifiers modifiers) {
    // Shift alone may come with or without its own modifier bit.
    if (modifiers == Qt::ShiftModifier || (key == Qt::Key_Shift && modifiers == Qt::NoModifier)) {
        key = 0;
        if (showNote)
            showNote(m_help.line(m_settings.shiftHelpLine));
        else
            m_dialogs.message(m_help.line(m_settings.shiftHelpLine));
        return;
    }
    if (key == Qt::Key_Delete) {
        m_field->clear();
        m_code.clear();
        key = 0;
    }
}

void CodeField::keyPress(char& key) {
    const bool back = mayStepBack && mayStepBack();
    const EntryRules::CodeKey step =
        EntryRules::applyCodeKey(m_code, key, m_settings.servicesAllowed, back);
    key = step.key;
    switch (step.step) {
    case CodeStep::Typing:
        return;
    case CodeStep::EmptyEnter:
        m_dialogs.message(m_help.line(m_settings.emptyEnterHelpLine));
        return;
    case CodeStep::StepBack:
        m_field->clear();
        if (stepBack) stepBack();
        return;
    case CodeStep::Complete:
        m_field->setText(fromCp1252(m_code).trimmed());
        if (complete) complete(step.byLength);
        return;
    }
}

void SalesPersonKeyPress(char& key, const Configuration& config, const HelpLines& help,
                         Dialogs& dialogs, const std::function<void(const std::string&)>& accept,
                         const std::function<void()>& leave) {
    const char typed = key;
    const std::string code(1, EntryRules::upper(key));
    if (EntryRules::isSalesPersonCode(config, key)) {
        accept(code);
        return;
    }
    key = 0;
    if (typed != EntryRules::Esc) dialogs.message(code + help.line(2));
    if (typed == EntryRules::Esc || typed == 'X') leave();
}

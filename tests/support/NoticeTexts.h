#pragma once

#include "store/Notice.h"

#include <string>
#include <vector>

// The texts of notices in their order, as a fake Dialogs records the boxes
// they become. A note is marked, so that it cannot pass for a box.
inline std::vector<std::string> noticeTexts(const Notices& notices) {
    std::vector<std::string> texts;
    for (const Notice& notice : notices)
        texts.push_back(notice.kind == Notice::Kind::Message ? notice.text
                                                             : "(note) " + notice.text);
    return texts;
}

#include "editing/TypedPages.h"

#include "editing/AddressRule.h"
#include "editing/EditingTexts.h"
#include "mail/MailRules.h"

namespace tarnwick {

const char* CheckPage(std::string_view page) {
    return IsAcceptableAddress(TrimSpace(page)) ? nullptr : texts::kUrlInvalid;
}

const char* CheckMail(std::string_view mail) {
    const std::string_view trimmed = TrimSpace(mail);
    return trimmed.empty() || IsValidMailAddress(trimmed) ? nullptr : kMsgIncorrectMail;
}

const char* CheckPageAndMail(std::string_view page, std::string_view mail) {
    const char* message = CheckPage(page);
    return message != nullptr ? message : CheckMail(mail);
}

TypedPages ParseTypedPages(std::string_view text) {
    TypedPages result;
    int number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        line = TrimSpace(line);
        if (line.empty()) {
            continue;
        }
        size_t split = line.find_first_of("\t;,");
        if (split == std::string_view::npos) {
            split = line.find_first_of(" \v\f\r");
        }
        const std::string_view page =
            TrimSpace(split == std::string_view::npos ? line : line.substr(0, split));
        const std::string_view mail = split == std::string_view::npos
                                          ? std::string_view()
                                          : TrimSpace(line.substr(split + 1));
        if (const char* message = CheckPageAndMail(page, mail); message != nullptr) {
            result.m_rows.clear();
            result.m_nLine = number;
            result.m_strMessage =
                "Line " + std::to_string(number) + ": " + std::string(line) + "\n\n" + message;
            return result;
        }
        result.m_rows.push_back({std::string(page), std::string(mail)});
    }
    return result;
}

}  // namespace tarnwick

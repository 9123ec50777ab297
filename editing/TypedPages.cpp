#include "editing/TypedPages.h"

#include <set>
#include <tuple>
#include <utility>

#include "editing/AddressRule.h"
#include "editing/EditingTexts.h"
#include "editing/ImportParsers.h"
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

namespace {

const char kNotifyMessage[] = "The notification is \"Enabled\" or \"Disabled\".";

struct LineFields {
    std::string_view m_page;
    std::string_view m_mail;
    std::string_view m_notify;
};

// Splits after the first tab, ";" or "," (else after the first blank).
std::pair<std::string_view, std::string_view> SplitFirst(std::string_view line) {
    size_t split = line.find_first_of("\t;,");
    if (split == std::string_view::npos) {
        split = line.find_first_of(" \v\f\r");
    }
    if (split == std::string_view::npos) {
        return {TrimSpace(line), std::string_view()};
    }
    return {TrimSpace(line.substr(0, split)), TrimSpace(line.substr(split + 1))};
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// The page and the rest of the line; with `third`, a notification word after
// the mail address is taken apart from it.
LineFields Fields(std::string_view line, bool third) {
    LineFields fields;
    std::tie(fields.m_page, fields.m_mail) = SplitFirst(line);
    if (third) {
        const size_t split = fields.m_mail.find_first_of("\t;,");
        if (split != std::string_view::npos) {
            fields.m_notify = TrimSpace(fields.m_mail.substr(split + 1));
            fields.m_mail = TrimSpace(fields.m_mail.substr(0, split));
        } else if (EqualsNoCase(fields.m_mail, "Enabled") ||
                   EqualsNoCase(fields.m_mail, "Disabled")) {
            // "page<TAB><TAB>Enabled" lost its empty mail cell to the trim.
            fields.m_notify = fields.m_mail;
            fields.m_mail = std::string_view();
        }
    }
    return fields;
}

// Calls take(number, line) for each line with text, the heading left out;
// stops when it returns a message, and gives that message with its line.
template <typename Take>
std::pair<int, std::string> EachLine(std::string_view text, Take take) {
    int number = 0;
    bool first = true;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        line = TrimSpace(line);
        if (line.empty()) {
            continue;
        }
        const bool heading = first && IsHeadingLine(line);
        first = false;
        if (heading) {
            continue;
        }
        if (const char* message = take(line); message != nullptr) {
            return {number,
                    "Line " + std::to_string(number) + ": " + std::string(line) + "\n\n" + message};
        }
    }
    return {0, std::string()};
}

}  // namespace

TypedPages ParseTypedPages(std::string_view text) {
    TypedPages result;
    std::tie(result.m_nLine, result.m_strMessage) = EachLine(text, [&](std::string_view line) {
        const LineFields fields = Fields(line, false);
        const char* message = CheckPageAndMail(fields.m_page, fields.m_mail);
        if (message == nullptr) {
            result.m_rows.push_back({std::string(fields.m_page), std::string(fields.m_mail)});
        }
        return message;
    });
    if (result.m_nLine != 0) {
        result.m_rows.clear();
    }
    return result;
}

PastedPages ParsePastedPages(std::string_view text, const std::vector<std::string>& existing,
                             const std::string& notify) {
    PastedPages result;
    std::set<std::string> known(existing.begin(), existing.end());
    std::tie(result.m_nLine, result.m_strMessage) = EachLine(text, [&](std::string_view line) {
        const LineFields fields = Fields(line, true);
        if (const char* message = CheckPageAndMail(fields.m_page, fields.m_mail)) {
            return message;
        }
        std::string value = notify;
        if (!fields.m_notify.empty()) {
            if (EqualsNoCase(fields.m_notify, "Enabled")) {
                value = "Enabled";
            } else if (EqualsNoCase(fields.m_notify, "Disabled")) {
                value = "Disabled";
            } else {
                return kNotifyMessage;
            }
        }
        if (!known.insert(std::string(fields.m_page)).second) {
            ++result.m_nSkipped;
        } else {
            result.m_pages.push_back(
                {std::string(fields.m_page), std::string(fields.m_mail), std::move(value)});
        }
        return static_cast<const char*>(nullptr);
    });
    if (result.m_nLine != 0) {
        result.m_pages.clear();
        result.m_nSkipped = 0;
    }
    return result;
}

}  // namespace tarnwick

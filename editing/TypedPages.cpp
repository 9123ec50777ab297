#include "editing/TypedPages.h"

#include <set>
#include <tuple>
#include <utility>

#include "editing/AddressRule.h"
#include "editing/EditingTexts.h"
#include "editing/ImportParsers.h"
#include "mail/MailRules.h"

namespace tarnwick {

const char* checkPage(std::string_view page) {
    return isAcceptableAddress(trimSpace(page)) ? nullptr : texts::kUrlInvalid;
}

const char* checkMail(std::string_view mail) {
    const std::string_view trimmed = trimSpace(mail);
    return trimmed.empty() || isValidMailAddress(trimmed) ? nullptr : kMsgIncorrectMail;
}

const char* checkPageAndMail(std::string_view page, std::string_view mail) {
    const char* message = checkPage(page);
    return message != nullptr ? message : checkMail(mail);
}

namespace {

const char kNotifyMessage[] = "The notification is \"Enabled\" or \"Disabled\".";

struct LineFields {
    std::string_view m_page;
    std::string_view m_mail;
    std::string_view m_notify;
};

// Splits after the first tab, ";" or "," (else after the first blank).
std::pair<std::string_view, std::string_view> splitFirst(std::string_view line) {
    size_t split = line.find_first_of("\t;,");
    if (split == std::string_view::npos) {
        split = line.find_first_of(" \v\f\r");
    }
    if (split == std::string_view::npos) {
        return {trimSpace(line), std::string_view()};
    }
    return {trimSpace(line.substr(0, split)), trimSpace(line.substr(split + 1))};
}

bool equalsNoCase(std::string_view a, std::string_view b) {
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
LineFields splitLine(std::string_view line, bool third) {
    LineFields fields;
    std::tie(fields.m_page, fields.m_mail) = splitFirst(line);
    if (third) {
        const size_t split = fields.m_mail.find_first_of("\t;,");
        if (split != std::string_view::npos) {
            fields.m_notify = trimSpace(fields.m_mail.substr(split + 1));
            fields.m_mail = trimSpace(fields.m_mail.substr(0, split));
        } else if (equalsNoCase(fields.m_mail, "Enabled") ||
                   equalsNoCase(fields.m_mail, "Disabled")) {
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
std::pair<int, std::string> eachLine(std::string_view text, Take take) {
    int number = 0;
    bool first = true;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        line = trimSpace(line);
        if (line.empty()) {
            continue;
        }
        const bool heading = first && isHeadingLine(line);
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

TypedPages parseTypedPages(std::string_view text) {
    TypedPages result;
    std::tie(result.m_line, result.m_message) = eachLine(text, [&](std::string_view line) {
        const LineFields fields = splitLine(line, false);
        const char* message = checkPageAndMail(fields.m_page, fields.m_mail);
        if (message == nullptr) {
            result.m_rows.push_back({std::string(fields.m_page), std::string(fields.m_mail)});
        }
        return message;
    });
    if (result.m_line != 0) {
        result.m_rows.clear();
    }
    return result;
}

PastedPages parsePastedPages(std::string_view text, const std::vector<std::string>& existing,
                             const std::string& notify) {
    PastedPages result;
    std::set<std::string> known(existing.begin(), existing.end());
    std::tie(result.m_line, result.m_message) = eachLine(text, [&](std::string_view line) {
        const LineFields fields = splitLine(line, true);
        if (const char* message = checkPageAndMail(fields.m_page, fields.m_mail)) {
            return message;
        }
        std::string value = notify;
        if (!fields.m_notify.empty()) {
            if (equalsNoCase(fields.m_notify, "Enabled")) {
                value = "Enabled";
            } else if (equalsNoCase(fields.m_notify, "Disabled")) {
                value = "Disabled";
            } else {
                return kNotifyMessage;
            }
        }
        if (!known.insert(std::string(fields.m_page)).second) {
            ++result.m_skipped;
        } else {
            result.m_pages.push_back(
                {std::string(fields.m_page), std::string(fields.m_mail), std::move(value)});
        }
        return static_cast<const char*>(nullptr);
    });
    if (result.m_line != 0) {
        result.m_pages.clear();
        result.m_skipped = 0;
    }
    return result;
}

}  // namespace tarnwick

// A host's robots.txt, read as the big search engines read it:
//   - groups of one or more "User-agent:" lines followed by rules; a crawler
//     takes the rules of every group naming it (the name's letters up to the
//     first character that is not a letter, '-' or '_', case ignored) and
//     falls back to the "*" groups only when no group names it;
//   - "Allow:" and "Disallow:" patterns match the start of the path and
//     query, with '*' for any run of characters and a final '$' for the end;
//     the longest matching pattern wins, Allow on a tie; an empty pattern is
//     no rule; no matching rule allows;
//   - field names ignore letter case and the common misspellings of
//     "disallow"; '#' starts a comment; other fields (Sitemap, Crawl-delay)
//     neither apply nor end a group;
//   - percent escapes compare with upper-case hex digits, and bytes above
//     0x7F as their %XX escapes;
//   - "/robots.txt" itself is always allowed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class RobotsTxt {
public:
    // Nothing disallowed (no file, or an answer that means none: 4xx).
    RobotsTxt() = default;
    static RobotsTxt parse(std::string_view text);

    // agent: "*" or a crawler's name ("Googlebot"); path: the address's path
    // and query ("/a/b?x=1"); an empty path is "/".
    bool isAllowed(std::string_view agent, std::string_view path) const;

    // The path and query of an absolute address ("http://h:1/a?b#c" ->
    // "/a?b"), "/" when it has none.
    static std::string pathOf(std::string_view address);

private:
    struct Rule {
        bool allow = false;
        std::string pattern;  // normalised
    };
    struct Group {
        std::vector<std::string> agents;  // lowered names, "*" for all
        std::vector<Rule> rules;
    };
    std::vector<Group> m_groups;
};

}  // namespace tarnwick

// The check of one publisher page: fetch it and decide whether it still links
// to the advertiser's site. See PageFetcher for the fetch and LinkFinder
// for the decision.
#pragma once

#include <string>
#include <string_view>

#include "scan/PageEvidence.h"
#include "scan/PageFetcher.h"
#include "scan/PageResult.h"

namespace tarnwick {

// One of the four result words with its reason. Every call has a session of
// its own; a scan run uses one PageFetcher for all its pages instead. With
// evidence, also what the fetch saw of the link's worth, judged with rules.
PageResult checkPage(const std::string& page, const std::string& advertiser,
                     const PageFetcher::Options& options = {}, PageEvidence* evidence = nullptr,
                     const LinkRules& rules = {});

// True when the address begins with a scheme followed by "://" (letters,
// digits, '+', '-', '.', starting with a letter). Addresses without one are
// never opened: nothing is guessed.
bool hasScheme(std::string_view address);

}  // namespace tarnwick

#include "scan/ProfileStatus.h"

#include <array>

namespace tarnwick {

const std::string& profileStatusWord(ProfileStatus status) {
    // In the enum's order.
    static const std::array<std::string, 5> kWords = {"Waiting...", "Running...", "Completed.",
                                                      "Completed", "Stopped."};
    return kWords.at(static_cast<size_t>(status));
}

}  // namespace tarnwick

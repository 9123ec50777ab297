// A results row's evidence, kept apart from the row: most rows wait for
// their check, or have been shown and need it no more, and a row carrying
// a whole PageEvidence of empty texts would cost about a kilobyte each (a
// run of 50,000 pages holds every row from start to end). Empty until set;
// read as a PageEvidence (an unchecked, empty one when none is held).
#pragma once

#include <memory>

#include "scan/PageEvidence.h"

namespace tarnwick {

class RowEvidence {
public:
    RowEvidence() = default;
    RowEvidence(const PageEvidence& evidence)  // NOLINT: a row's evidence is set from one
        : m_evidence(std::make_unique<PageEvidence>(evidence)) {}
    RowEvidence(const RowEvidence& other)
        : m_evidence(other.m_evidence ? std::make_unique<PageEvidence>(*other.m_evidence)
                                      : nullptr) {}
    RowEvidence(RowEvidence&&) noexcept = default;
    RowEvidence& operator=(const RowEvidence& other) {
        if (this != &other) {
            m_evidence =
                other.m_evidence ? std::make_unique<PageEvidence>(*other.m_evidence) : nullptr;
        }
        return *this;
    }
    RowEvidence& operator=(RowEvidence&&) noexcept = default;
    ~RowEvidence() = default;

    const PageEvidence& get() const { return m_evidence ? *m_evidence : empty(); }
    operator const PageEvidence&() const { return get(); }  // NOLINT
    const PageEvidence* operator->() const { return &get(); }
    // For writing: the evidence is made when there is none yet.
    PageEvidence* operator->() { return &edit(); }
    PageEvidence& edit() {
        if (!m_evidence) {
            m_evidence = std::make_unique<PageEvidence>();
        }
        return *m_evidence;
    }
    // Gives the memory back; reads as unchecked again.
    void reset() { m_evidence.reset(); }

    bool operator==(const RowEvidence& other) const { return get() == other.get(); }

private:
    static const PageEvidence& empty() {
        static const PageEvidence none;
        return none;
    }

    std::unique_ptr<PageEvidence> m_evidence;
};

}  // namespace tarnwick

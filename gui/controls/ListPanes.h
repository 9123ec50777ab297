// The two panes as the list controls' click and check-state rules see them:
// the results pane's rows and their rebuild. The main frame
// implements it on its panes.
#pragma once

namespace tarnwick {

class ListPanes {
public:
    virtual ~ListPanes() = default;

    // Whether any Status cell of the results pane holds a result of a run of
    // this session (what a rebuild would throw away).
    virtual bool resultsHaveStatus() = 0;
    // Refills the results pane from the profile files of the ticked profiles.
    virtual void rebuildResults() = 0;
};

}  // namespace tarnwick

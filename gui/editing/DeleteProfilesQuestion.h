// The question titled "Osgrel Tarnwick Ambrel": asks whether the ticked profiles are
// to be deleted and lists them below the question (display text and number of
// pages), so nobody deletes more than they meant to. "Yes" closes it with OK,
// "No" (the default) with Cancel.
#pragma once

#include <QDialog>
#include <vector>

#include "store/ProfileList.h"

namespace tarnwick {

class DeleteProfilesQuestion : public QDialog {
    Q_OBJECT
public:
    // The object names of its controls, by which tests and tools find them.
    static constexpr char kYesButton[] = "yesButton";
    static constexpr char kNoButton[] = "noButton";
    static constexpr char kHiddenOkButton[] = "hiddenOkButton";
    static constexpr char kOkButton[] = "okButton";

    explicit DeleteProfilesQuestion(const std::vector<ProfileRemoval>& profiles = {},
                                    QWidget* parent = nullptr);

    // One line of the list: "www.example.com (3 pages)".
    static QString listLine(const ProfileRemoval& profile);
};

}  // namespace tarnwick

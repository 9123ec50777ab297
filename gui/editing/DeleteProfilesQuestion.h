// Dialog 168, "Osgrel Tarnwick Ambrel": asks whether the ticked profiles are
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
    explicit DeleteProfilesQuestion(const std::vector<ProfileRemoval>& profiles = {},
                                    QWidget* parent = nullptr);

    // One line of the list: "www.example.com (3 pages)".
    static QString listLine(const ProfileRemoval& profile);
};

}  // namespace tarnwick

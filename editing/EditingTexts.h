// The fixed texts of the profile-editing dialogs and commands, exactly as the
// user sees them (their spelling included).
#pragma once

namespace tarnwick::texts {

// Add-profile wizard.
inline constexpr const char* kEnterUrl = "Enter the URL to be searched.";
inline constexpr const char* kUrlInvalid = "URL is invalid or incomplete";
inline constexpr const char* kSelectFileType = "Select a file type";
inline constexpr const char* kEnterPath = "First enter the path";
inline constexpr const char* kSelectSeparator = "first select file seperator";
inline constexpr const char* kEnterSeparator = "Enter the seperator";
inline constexpr const char* kSeparatorSymbols = "Please use {!,^,*,|} these as seperator symbols";
inline constexpr const char* kNoItem = "No item to insert in list";
inline constexpr const char* kSeparatorHint = "Use (!,^,*,|)";
inline constexpr const char* kAppendQuestion =
    "This profile already exist. Do uou want to overwite or append its content?";

// Import parsers.
inline constexpr const char* kPlainFormat =
    "Incorrect File Format. SPACE or some SEPERATOR found in between lines";
inline constexpr const char* kSeparatedFormat = "Incorrect file format";

// Edit Profile dialog.
inline constexpr const char* kSelectProfile =
    "First select the url profile whose content you want to modify";
inline constexpr const char* kReallyChange = "Do you really want to change Advetiser's Link";
inline constexpr const char* kSelectRow = "Select any row to delete";
inline constexpr const char* kDeleteRows =
    "Are you sure you want to delete selected URL's. If once deleted you cannot rollback the "
    "action ";
// An address whose profile name belongs to another profile is refused.
inline constexpr const char* kNameTakenBefore = "Another profile already has the name ";
inline constexpr const char* kNameTakenAfter = ". The address was not changed.";

// Commands.
inline constexpr const char* kAddWhileRunning = "You cannot add profile while task is running";
inline constexpr const char* kDeleteWhileRunning = "You cannot delete profile while task is runing";
inline constexpr const char* kEditWhileRunning =
    "You cannot edit any profile while task is running";
inline constexpr const char* kAdded = "Your profile has been successfully added.";
inline constexpr const char* kSelectToDelete = "First select the profile to delete";
inline constexpr const char* kDeleteQuestion = "Do you want to delete selected Profiles";

}  // namespace tarnwick::texts

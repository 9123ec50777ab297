#include "mail/NotificationLetter.h"

#include "mail/ProductWebSite.h"

namespace tarnwick {
namespace {

constexpr char kPiece1[] =
    "Dear Webmaster\n\nWe regularly check our link partners\x92 websites to verify the "
    "availability of our back-links on their websites.\n\nDuring our routine back link "
    "verification, we found that you have removed our link [";
constexpr char kPiece2[] = "] from your website URL [";
constexpr char kPiece3[] =
    "].\n\nPlease check your website and add our link again on your website. If you have "
    "transferred our link location somewhere else on your website, please let us know the new "
    "location of our back-link.\n\n For any query or comments, feel free to contact "
    "us.\n\nSincerely,\nWebmaster\n[";
constexpr char kPiece4[] =
    "]\n\nThis notification has been sent using Osgrel\x92s Tarnwick Ambrel software. More "
    "information about software is available on ";

}  // namespace

std::string BuildNotificationLetter(const std::string& advertiser, const std::string& page) {
    std::string letter = kPiece1;
    letter += advertiser;
    letter += kPiece2;
    letter += page;
    letter += kPiece3;
    letter += advertiser;
    letter += kPiece4;
    letter += kProductWebSite;
    return letter;
}

}  // namespace tarnwick

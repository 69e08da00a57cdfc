#pragma once

#include <array>
#include <string>

#include "platform/form.h"

namespace tosbel {

class Platform;

// Where the version window's links lead; an empty address is a link the
// window shows as not set and that does nothing.
struct AuthorLinks {
    std::string mail;      // "someone@example.org", without "mailto:"
    std::string homePage;  // "https://…"
};

// The addresses this build was given (TOSBEL_AUTHOR_MAIL, TOSBEL_HOME_PAGE).
AuthorLinks builtInAuthorLinks();

// What an unset link shows in place of its address.
inline constexpr const char* kAddressNotSet = "（未設定）";

// INFO_VER, "ﾊﾞｰｼﾞｮﾝ情報": the product's name and version, and links that
// write to the author and open the home page with the desktop's own mail
// program and browser.
class VersionWindow final : public Form {
public:
    explicit VersionWindow(Platform& platform, AuthorLinks links = builtInAuthorLinks());

    // 0 … 5, 18 and 19: the headline, each text a shadow and a coloured label
    // above it; 6 … 9 the rights notice the same way; 10 and 11 the mail link;
    // 12, 13 and 14 the home-page link. 15 … 17 are not used.
    std::array<Label, 20> Label1;
    std::array<Line, 5> Line1;
    CommandButton Command1;  // 了解

    void Form_Paint(Canvas& canvas) override;

    // The pointer moved over label `index`, or over the window's background:
    // the link under it lights up, the other goes pale.
    void Label1_MouseMove(int index);
    void Form_MouseMove() override;
    void Label1_Click(int index);

private:
    void light(bool mail, bool web);

    AuthorLinks links_;
};

// Opens INFO_VER modally; returns once it has closed.
void showVersionWindow(Platform& platform);

}  // namespace tosbel

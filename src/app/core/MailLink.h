#pragma once
// The mailto: link that starts an e-mail in the user's mail program.
#include <string>
#include <string_view>

namespace discovel {

// "mailto:" address "?subject=" subject "&Body=" body. Nothing is escaped: the
// texts go to the mail program exactly as given, and empty ones still leave
// their key.
std::string ComposeMailLink(std::string_view address, std::string_view subject, std::string_view body);

}  // namespace discovel

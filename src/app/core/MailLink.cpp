#include "app/core/MailLink.h"

namespace discovel {

std::string ComposeMailLink(std::string_view address, std::string_view subject, std::string_view body) {
  std::string link = "mailto:";
  link += address;
  link += "?subject=";
  link += subject;
  link += "&Body=";
  link += body;
  return link;
}

}  // namespace discovel

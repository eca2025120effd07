#include "framework/ErrorReport.h"

namespace tarnwick {

std::wstring ErrorReportText(std::wstring_view Message) {
  std::wstring Text(Message);
  if (!Text.empty() && Text.back() > L'.') Text += L'.';
  return Text;
}

}  // namespace tarnwick

// TForm1::CountView: the window as the count run sees it (counting/CountRun.h): the status line at the
// pace of StatusPacer, the Escape key, page 1's labels, and the table after the reply's notice line. The
// status texts and labels also go into the window's report, as the CLI's count keeps them.
#include <string>
#include <string_view>

#include "app/win32/Unit1.h"
#include "app/win32/WinText.h"
#include "report/TableAnswer.h"

namespace jwcount {

void TForm1::CountView::ShowStatus(std::string_view text) {
  form_.session_.Report().Statuses.emplace_back(text);
  for (const std::string& shown : statusPacer_.Take(text, GetTickCount64())) {
    form_.status_.ShowStatus(Widen(shown));
  }
}

bool TForm1::CountView::EscapePressed() {
  return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

void TForm1::CountView::ShowSummary(int label, std::string_view text) {
  form_.page1_.SetLabel(label, text);
  if (label >= 1 && label <= kSummaryCount)
    form_.session_.Report().Labels[static_cast<std::size_t>(label - 1)] = text;
}

void TForm1::CountView::ShowFirstPage() {
  form_.SelectPage(0);
}

void TForm1::CountView::AppendToReply(JwwGaibu& reader, const CountTables& tables, bool complete) {
  if (form_.drawTable_) AppendTableAnswer(reader, tables, complete, !form_.session_.ShortRead());
}

}  // namespace jwcount

// The reply to the host: the reply buffer and its writer.
#include <exception>
#include <string>

#include "tempfile/JwwGaibu.h"

namespace jwcount {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kEmptyReply = "hq\r\n";
constexpr std::string_view kMessagePrefix = "h#";

bool EndsInQuote(const std::string& line) {
  return !line.empty() && line.back() == '"';
}

// The bytes of the reply file: a line ending in a double quote is written without a line end, and the
// line after it is written unchanged and not tested itself.
std::string FormatReply(const ReplyBuffer& reply) {
  if (reply.LineCount == 0) return std::string(kEmptyReply);
  std::string out;
  for (int32_t i = 0; i < reply.LineCount; ++i) {
    const std::string& line = reply.Lines[i];
    out += line;
    if (EndsInQuote(line)) {
      if (i + 1 == reply.LineCount) break;  // the file ends without a line end
      out += reply.Lines[++i];
    }
    out += kLineEnd;
  }
  return out;
}

}  // namespace

void JwwGaibu::AppendReplyLine(std::string_view text) {
  const int32_t count = Reply.LineCount + 1;
  if (count % 1000 == 1) Reply.Lines.resize(static_cast<std::size_t>(count) + 999);
  Reply.Lines[count - 1].assign(text.substr(0, kMaxReplyLine));
  Reply.LineCount = count;
}

void JwwGaibu::AppendReplyMessage(std::string_view message) {
  std::string line(kMessagePrefix);
  line += message;
  AppendReplyLine(line);
}

bool JwwGaibu::WriteReplyFile(const std::filesystem::path& path) {
  try {
    const std::string bytes = FormatReply(Reply);
    std::unique_ptr<OutputFile> file = fileSystem_->Create(path);
    bool written = file != nullptr && file->Write(bytes.data(), bytes.size());
    if (file != nullptr) written = file->Close() && written;
    if (written) return true;
  } catch (const std::exception&) {
    // Out of memory while formatting: fall through to the clean-up below.
  }
  // No partial reply is left behind.
  if (fileSystem_->Exists(path)) fileSystem_->Remove(path);
  return false;
}

}  // namespace jwcount

// TStringList: the ordered list of text lines that holds one source file for
// the whole run. Input lines may end in CR LF, LF or CR; every line it writes
// ends in its line end, CR LF unless it is told otherwise. Lines never contain
// CR or LF; every other byte, NUL included, is an ordinary byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_identity.h"
#include "base/line_ending.h"

namespace vemra {

// The abstract line container; TStringList is its one implementation.
class TStrings {
 public:
  virtual ~TStrings() = default;

  virtual std::int32_t LineCount() const = 0;
  virtual std::string LineAt(std::int32_t index) const = 0;
  virtual void ReplaceLine(std::int32_t index, std::string_view line) = 0;
  virtual void RemoveLine(std::int32_t index) = 0;
  virtual void AppendLine(std::string_view line) = 0;
};

class TStringList final : public TStrings {
 public:
  // Replaces the lines by those of the named file, and remembers which file
  // that was and in what state, for SaveFile. Throws EFOpenError (missing,
  // unreadable or too large file, or one an interrupted save left a backup
  // of) or EReadError (short read); the list keeps its previous lines then.
  void LoadFile(const std::string& file_name);
  // Writes every line followed by the line end to the named file without ever
  // destroying the file that was there, nor a change someone else made to
  // the loaded file since it was loaded (see WriteFileSafely). Throws
  // EFCreateError or EWriteError.
  void SaveFile(const std::string& file_name) const;

  // The line end written after every line: CR LF unless set otherwise. It
  // stays when the lines are replaced.
  LineEnding GetLineEnding() const { return line_ending_; }
  void SetLineEnding(LineEnding ending);
  // The line end of the first line of the text last loaded or given to the
  // list, as KeptLineEnding tells it, whatever was done to the lines since.
  LineEnding FirstLineEnding() const;

  // Every line followed by the line end, the last one too; empty list:
  // empty text.
  std::string ReadText() const;
  // The same text as ReadText, as a view valid until the list changes or
  // holder is next assigned. Fast path: when the buffer the list was given
  // already is that text (a file this program wrote, a formatted text) the
  // view is of the list's own buffer and nothing is copied; otherwise
  // holder receives ReadText() and the view is of holder.
  std::string_view JoinedText(std::string& holder) const;
  // The lines handed over as one text, leaving the list empty: every line
  // followed by a line end, the last one too, so that split at CR LF, LF
  // and CR it gives the lines again. Fast path: a text not edited since it
  // was loaded or adopted is handed over as it stands, with its own line
  // ends, and CR LF added when its last line has none (LoadFile leaves room
  // for that); otherwise it is ReadText(). The line end stays set.
  std::string HandOverText();
  // Replaces the lines by those of text, split at CR LF, LF and CR.
  void AssignText(std::string_view text);
  // The same as AssignText, but the list takes over the text's buffer
  // instead of copying it (for a caller that no longer needs the text).
  void AdoptText(std::string text);
  // The same as AdoptText for a text its caller built as the joined text
  // itself: every line followed by ending, no other CR or LF; the list then
  // writes that line end. Fast path: such a text is saved as it stands
  // without a look at its bytes. (Every adopted text is split into lines
  // only when a line is first asked for, so loading, formatting and saving
  // a file never splits a text.)
  void AdoptJoinedText(std::string text, LineEnding ending = LineEnding::kCrLf);

  std::int32_t LineCount() const override;
  // A copy of the line; throws EStringListError for a bad index.
  std::string LineAt(std::int32_t index) const override;
  // A view of the line, valid until the list changes; same bounds check.
  std::string_view LineView(std::int32_t index) const;
  void ReplaceLine(std::int32_t index, std::string_view line) override;
  void RemoveLine(std::int32_t index) override;
  void AppendLine(std::string_view line) override;

 private:
  // Where a line's bytes are: in text_ at start, or, with kInTail set in
  // start, in tail_ at start without that bit. Every store stays below 2 GiB,
  // so 32 bits suffice and a line costs 8 bytes of bookkeeping.
  struct LineSpan {
    std::uint32_t start;
    std::uint32_t length;
  };
  static constexpr std::uint32_t kInTail = 0x80000000u;
  enum class Joined : std::uint8_t { kUnknown, kYes, kNo };

  void TakeText(std::string text, Joined joined);

  bool SplitText() const;
  void EnsureSplit() const;
  void MarkEdited();
  std::string_view ViewOf(LineSpan span) const;
  LineSpan StoreInTail(std::string_view line);
  void CheckIndex(std::int32_t index) const;

  std::string text_;  // the text last loaded or assigned; lines are views into it
  std::string tail_;  // lines appended or lengthened since then
  // spans_ is filled when a line is first asked for, by const members too;
  // like joined_ it is a cache of what text_ holds, not part of the list's
  // value.
  mutable std::vector<LineSpan> spans_;  // one entry per line, in order
  mutable bool split_ = true;            // spans_ describes text_
  // Whether text_ equals ReadText(): no edits, every line ends in the line
  // end. Known once the text is split or JoinedText has looked.
  mutable Joined joined_ = Joined::kYes;
  LineEnding line_ending_ = LineEnding::kCrLf;  // written after every line
  std::optional<LoadedFile> loaded_from_;       // the file LoadFile read, if any
};

}  // namespace vemra

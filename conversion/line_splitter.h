// Cuts a stream of input blocks into trimmed lines. A line ends at CR or CR LF; a lone
// LF stays inside it, unless the units say lines end in LF (then LF ends one too).
// Lines of any length stream through: spaces after the last character seen so far are
// held back as a count, so memory never grows with a line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quenlo {

// Sink must offer:
//   std::uint64_t LinesBeforeCheck();            lines that may pass before the sink
//                                                must see them counted (at least 1)
//   bool VerbatimLines(std::string_view run, std::uint64_t count);
//                                                consecutive lines, with their CR LF,
//                                                that need no change
//   bool WholeLine(std::string_view trimmed);    a line that lay within one block
//   void BeginLine();                            a line that spans blocks begins...
//   void Text(std::string_view text);            ...its characters, in order...
//   void Spaces(std::uint64_t count);            ...inner spaces held back before...
//   bool EndLine();                              ...and its end.
// VerbatimLines, WholeLine and EndLine return false to have Consume stop right after
// those lines.
template <class Units, class Sink>
class LineSplitter {
public:
    explicit LineSplitter(Sink& sink) : sink_(sink) {}

    // Splits [p, end), a whole number of units. Returns end, or the position just
    // after a line the sink did not want to go past.
    const char* Consume(const char* p, const char* end) {
        constexpr std::size_t k = Units::kSize;
        typename Units::CrFinder crs(p, end);
        while (p < end) {
            if (afterCR_) {
                afterCR_ = false;
                if (Units::IsLF(p)) {
                    p += k;
                    continue;
                }
            }
            if (inLine_) {
                const char* cr = crs.Find(p);
                if (cr == end) {
                    Piece(p, end);
                    return end;
                }
                Piece(p, cr);
                afterCR_ = EndsAtCR(cr);
                p = cr + k;
                if (!EndPiecewiseLine()) {
                    return p;
                }
                continue;
            }
            // Most lines leave exactly as they came: pass runs of them on whole, with
            // their CR LF, so they can be written straight from the input block. This
            // loop is the hot path of the whole program.
            const char* const run = p;
            std::uint64_t runLines = 0;
            std::uint64_t budget = sink_.LinesBeforeCheck();
            const char* cr;
            for (;;) {
                cr = crs.Find(p);
                if (cr == end || EndsAtLF(cr)) {
                    break;  // a line ended by LF alone is written with CR LF
                }
                const char* next = cr + k;
                if (next == end || !Units::IsLF(next) ||
                    (p != cr && (Units::IsSpace(p) || Units::IsSpace(cr - k)))) {
                    break;
                }
                p = next + k;
                ++runLines;
                if (--budget == 0) {
                    cr = nullptr;  // that CR has been taken
                    break;
                }
            }
            if (runLines > 0 &&
                !sink_.VerbatimLines(std::string_view(run, static_cast<std::size_t>(p - run)),
                                     runLines)) {
                return p;
            }
            if (cr == nullptr) {
                continue;
            }
            if (cr == end) {
                Piece(p, end);
                return end;
            }
            // A line that needs trimming, ends in a lone CR or LF, or at the block's edge.
            const bool goOn = sink_.WholeLine(Trimmed(p, cr));
            afterCR_ = EndsAtCR(cr);
            p = cr + k;
            if (!goOn) {
                return p;
            }
        }
        return end;
    }

    // A byte that does not fill a whole unit at the very end of the input: kept as
    // part of the last line rather than lost.
    void StrayByte(char byte) {
        StartPiecewiseLine();
        contentStarted_ = true;
        EmitHeldSpaces();
        sink_.Text(std::string_view(&byte, 1));
    }

    // At the end of the input: a last line without terminator still counts.
    void Finish() {
        if (inLine_) {
            EndPiecewiseLine();
        }
    }

    // True while a line has begun whose end has not been seen.
    bool InLine() const { return inLine_; }

    // Whether [p, end) holds the start of another line (a LF completing the
    // last CR LF does not; a piece of a unit does).
    bool HoldsMore(const char* p, const char* end) const {
        if (afterCR_ && end - p >= static_cast<std::ptrdiff_t>(Units::kSize) && Units::IsLF(p)) {
            p += Units::kSize;
        }
        return p < end;
    }

private:
    // Whether the line end found at p is a lone LF; never for units that keep LF in
    // the line, so their loop is compiled without the test.
    static bool EndsAtLF(const char* p) { return Units::kLineFeedEnds && Units::IsLF(p); }
    static bool EndsAtCR(const char* p) { return !EndsAtLF(p); }

    static std::string_view Trimmed(const char* p, const char* end) {
        while (p < end && Units::IsSpace(p)) {
            p += Units::kSize;
        }
        while (end > p && Units::IsSpace(end - Units::kSize)) {
            end -= Units::kSize;
        }
        return std::string_view(p, static_cast<std::size_t>(end - p));
    }

    void StartPiecewiseLine() {
        if (!inLine_) {
            inLine_ = true;
            sink_.BeginLine();
        }
    }

    void EmitHeldSpaces() {
        if (heldSpaces_ > 0) {
            sink_.Spaces(heldSpaces_);
            heldSpaces_ = 0;
        }
    }

    // Part of a line, without its end.
    void Piece(const char* p, const char* end) {
        if (p == end) {
            return;
        }
        StartPiecewiseLine();
        if (!contentStarted_) {
            while (p < end && Units::IsSpace(p)) {
                p += Units::kSize;
            }
            if (p == end) {
                return;
            }
            contentStarted_ = true;
        }
        const char* last = end;
        while (last > p && Units::IsSpace(last - Units::kSize)) {
            last -= Units::kSize;
        }
        if (last == p) {
            heldSpaces_ += static_cast<std::uint64_t>(end - p) / Units::kSize;
            return;
        }
        EmitHeldSpaces();
        sink_.Text(std::string_view(p, static_cast<std::size_t>(last - p)));
        heldSpaces_ = static_cast<std::uint64_t>(end - last) / Units::kSize;
    }

    bool EndPiecewiseLine() {
        StartPiecewiseLine();
        inLine_ = false;
        contentStarted_ = false;
        heldSpaces_ = 0;  // trailing spaces: trimmed
        return sink_.EndLine();
    }

    Sink& sink_;
    bool inLine_ = false;
    bool contentStarted_ = false;
    bool afterCR_ = false;
    std::uint64_t heldSpaces_ = 0;
};

}  // namespace quenlo

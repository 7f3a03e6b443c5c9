#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "form/rich_text.h"

namespace quillo {

// Groups nested deeper than this are skipped whole, their text included.
inline constexpr int kMaxRtfDepth = 100;
// The largest document file the help window reads.
inline constexpr std::size_t kMaxRtfFileBytes = 8u << 20;

// Reads an RTF document into paragraphs of styled runs. It reads any input: unknown
// control words and destinations are skipped, an unmatched "}" is ignored, a
// document cut short ends where it stops, and groups deeper than kMaxRtfDepth are
// skipped. The work is linear in the input's length.
//
// Understood: groups, \par \line \tab, \b \i \ul \ulnone \plain \fs \f with
// \fonttbl, \cf with \colortbl, \qc \ql \qr \pard, \'hh (code page 1252), \uN with
// \ucN, the control symbols \\ \{ \} \~ \_ \- and {\*...} destinations (skipped).
RichText ReadRtf(std::string_view source);

// A document read from a file, or the message naming the file and the fault.
using RtfFileResult = std::variant<RichText, std::string>;

// Reads an RTF file of at most kMaxRtfFileBytes.
RtfFileResult ReadRtfFile(const std::string& path);

}  // namespace quillo

// The human-readable interpretation printed under a symbol: for a GS1
// element string its AIs in round brackets, as the GS1 system standard
// prints them ("(01)09506000134352(17)201225"), whichever bracket form was
// given; for any other message the message itself, when every byte is
// printable ASCII.
//
// Pure: reads its arguments, writes only its outputs, no globals, no I/O.
#pragma once

#include <string>
#include <string_view>

namespace ecc200 {

// Sets `text` and returns "", or returns one sentence saying why the message
// has no text to print (`text` then empty). A GS1 message is taken as the
// encoder accepted it.
std::string HumanReadableText(std::string_view message, bool gs1, std::string& text);

}  // namespace ecc200

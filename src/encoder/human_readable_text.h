// The human-readable interpretation printed under a symbol: for a GS1
// element string its AIs in round brackets, as the GS1 system standard
// prints them ("(01)09506000134352(17)201225"), whichever bracket form was
// given; for any other message the message itself, when every byte is
// printable ASCII.
//
// Pure: reads its arguments, writes only its outputs, no globals, no I/O.
#pragma once

#include <cstddef>
#include <string_view>

namespace ecc200 {

// Writes the line of `message` (a GS1 message as the encoder accepted it)
// into `text`, which has room for message.size() characters: the message
// with, for GS1, its square brackets made round. Returns the position of the
// first byte that is not printable ASCII, or message.size() when every
// byte is (only then is `text` a line to print). Called on the parts of a
// message one after another, it gives the line of the whole.
std::size_t WriteHumanReadableText(std::string_view message, bool gs1, char* text);

}  // namespace ecc200

// The ways of saving a file, each tried on a plan from one look at the path
// and each returning an SaveAttempt: saved, failed, declined (not this way: the
// next is tried, perhaps with a file already written), or look again.
// ReplaceFileWith runs them in order (portable_files.cpp).
#pragma once

#include <vector>

#include "platform/drawing_surface.h"
#include "platform/portable/file_descriptor.h"
#include "platform/portable/save_attempt.h"
#include "platform/portable/target_lookup.h"

namespace ecc200::platform {

struct SaveRequest {
    const char* path;
    const std::vector<ByteSpan>& pieces;
    const SaveOptions& options;
};

// Before any look at the path: a small file written to a nameless file and
// linked under the path, so that a new file, the usual case, needs no look
// at a name that is not there. Declined when the file is large or anything
// fails; then, when the path was taken, with the written file, which may
// replace a regular file the path names directly.
SaveAttempt SaveSmallFileAsNew(const SaveRequest& request);

// A device, FIFO or socket, or a file reached only through a link of /proc
// (Plan::Way::kInPlace): opened as it is and written, without rename.
SaveAttempt WriteInPlace(const SaveRequest& request, const Plan& plan, FileDescriptor written);

// A brand-new target (kNew): a nameless file linked under its path. Looks
// again when the target was made meanwhile; declined where the nameless way
// is refused.
SaveAttempt SaveNewNameless(const SaveRequest& request, const Plan& plan, FileDescriptor written);

// An existing regular file (kReplace): a nameless file, or `written` where
// the plan allows, named and renamed over the target by the detached
// helper. Declined where the nameless way is refused.
SaveAttempt ReplaceThroughNameless(const SaveRequest& request, const Plan& plan, FileDescriptor written);

// kNew or kReplace where the nameless way is refused: a file under a short
// hidden name from the start, renamed over the target.
SaveAttempt SaveUnderHiddenName(const SaveRequest& request, const Plan& plan, FileDescriptor written);

}  // namespace ecc200::platform

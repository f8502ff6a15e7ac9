// The reader state after the read, written into the JSON report on request (--state): everything the read
// left in the reader, field by field, with every record of every store.
#pragma once

#include "counting/RunSequence.h"
#include "report/JsonWriter.h"
#include "tempfile/JwwGaibu.h"

namespace jwcount {

// Writes one object: "drawing" and "current" from `state` (the state right after the read), then the
// entity index, the stores and their capacities from `reader`.
void WriteStateJson(JsonWriter& json, const StateAfterRead& state, const JwwGaibu& reader);

}  // namespace jwcount

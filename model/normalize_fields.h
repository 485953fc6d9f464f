#pragma once

#include "model/blocks.h"
#include "model/field_view.h"

namespace sg::model {

// Turns the boxes into the blocks and rewrites every box in canonical form. Box 7 is
// always overwritten with the data length, whatever the user typed there.
void NormalizeFields(FieldView &view, Blocks &blocks);

// The blocks the boxes stand for, by the same rules, leaving the boxes as they are.
Blocks ReadBlocks(const FieldView &view);

} // namespace sg::model

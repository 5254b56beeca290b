#pragma once

#include <cstdint>

#include "core/orders.h"

// Records the judged answer to currentCard (raising or resetting its level, the wrong
// list, the known-card question). The known-words kind judges as if the card came from
// the known list: the store's examiningUnknown flag is cleared for the recording and set
// again right after.
void recordAnswer(ExaminationState& state, bool right, int32_t questionNumber,
                  const ExaminationEnvironment& env);

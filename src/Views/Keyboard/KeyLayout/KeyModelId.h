#pragma once

// The keyboard models whose tables this build carries. Alone in its header so that plain data (the product table)
// can name a model without pulling in the tables.

namespace keyloom {

enum class KeyModelId {
    Quorvath87,
    Quorvath88,
    Quorvath91,
    MarrowinV2_71,
    MarrowinV2_72,
    Vindle68,
    Tolmek84,
    Ostrel61,
    OstrelTE61,
    OstrelTE62,
};

}  // namespace keyloom

// Base of every class-library class: objects are shared-owned and can be
// created by class name (ClassLibrary::CreateObject, general/ClassLibrary.h).
#pragma once

#include <cstdint>

namespace quorvantell {

class ClassLibObject {
public:
    virtual ~ClassLibObject() = default;
};

// 16-bit booleans as stored and exchanged with outside files: true -1, false 0.
constexpr int16_t kTrue16 = -1;
constexpr int16_t kFalse16 = 0;

}  // namespace quorvantell

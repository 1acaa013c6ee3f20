#include "render/scene.h"

namespace omra {

Scene& scene = *new Scene;

} // namespace omra

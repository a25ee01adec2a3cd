#include "ui/images.h"

namespace tellurix {

void loadEmbeddedImages() {}
void derivePreviews() {}

}  // namespace tellurix

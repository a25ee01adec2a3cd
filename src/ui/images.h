#pragma once

namespace tellurix {

// Decodes the embedded icons (images 1 to 8) and backgrounds (100 to 113).
void loadEmbeddedImages();
// Cuts the design previews (200 to 213) out of the backgrounds.
void derivePreviews();

}  // namespace tellurix

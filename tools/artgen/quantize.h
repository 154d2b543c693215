// Reduction of a true-colour picture to 256 colours with a table optimised for that picture.
#pragma once

#include "image.h"

namespace art {

// Median cut on the picture's colour histogram (each box split where the two halves have the
// least summed squared error), refined by k-means rounds; pixels map to their nearest entry.
// A colour that makes up most of a cluster becomes that entry exactly, so large flat areas keep
// their colour. Deterministic: the same picture always gives the same table and indices.
IndexedImage QuantizeTo256(const Image &source);

// Mean Euclidean distance in RGB between corresponding pixels; the sizes must match.
double MeanColourError(const Image &source, const IndexedImage &reduced);

} // namespace art

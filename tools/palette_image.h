#pragma once
// An 8-bit palette copy of a picture, for small files: at most 256 colours, chosen by median cut
// over the picture's own colours and weighted by how many pixels use each, every pixel mapped to its
// nearest palette colour. A picture of 256 colours or fewer keeps them exactly.

class QImage;

QImage PaletteImage(const QImage& picture);

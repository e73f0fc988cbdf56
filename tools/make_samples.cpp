// Writes the VyX samples the demo and the tests use:
//   grid.vyx        4 x 3 quads with colours, UVs over two tiles, groups
//                   (vertex, colour, face, UV, group blocks in that order)
//   grid_faces.vyx  the same faces first (the face-ID query reads the block
//                   at offset 32 as faces), then the vertices
//   tri.vyx         one triangle with colours
//   grid_colours.vyx the grid's vertex colours as the first block (the
//                   colour export reads the block at offset 32 as colours)
#include <cstdio>
#include <string>

#include "VyXWriter.h"

int main(int argc, char** argv) {
  std::string dir = argc > 1 ? argv[1] : "samples";
  vyxgen::GridMesh grid = vyxgen::makeGrid(4, 3, 2);
  bool ok = vyxgen::writeFile(dir + "/grid.vyx", vyxgen::gridFile(grid));
  ok &= vyxgen::writeFile(
      dir + "/grid_faces.vyx",
      vyxgen::fileBytes({vyxgen::faceBlock(grid.faces), vyxgen::vertexBlock(grid.vertices)}));
  ok &= vyxgen::writeFile(
      dir + "/tri.vyx",
      vyxgen::fileBytes({vyxgen::vertexBlock({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                         vyxgen::colourBlock({{0x10, 0x20, 0x30, 0xFF},
                                              {0x00, 0x80, 0xFF, 0x00},
                                              {0xFF, 0xFF, 0xFF, 0xFF}}),
                         vyxgen::faceBlock({{0, 1, 2, 0xFFFFFFFFu}})}));
  ok &= vyxgen::writeFile(dir + "/grid_colours.vyx",
                          vyxgen::fileBytes({vyxgen::colourBlock(grid.colours)}));
  if (!ok) {
    std::fprintf(stderr, "make_samples: cannot write into %s\n", dir.c_str());
    return 1;
  }
  return 0;
}

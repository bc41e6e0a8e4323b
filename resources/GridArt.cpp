// The grid's filter marker and the table-kind images of the table lists.
#include "resources/Art.h"
#include "resources/PixelArt.h"

namespace {
using art::Pattern;

// Filter marker, 16 x 16: an empty funnel while no filter applies, a full one when it does.
constexpr Pattern<16> kFilterOff{{
    "................",
    "................",
    ".GGGGGGGGGGGGGG.",
    ".GwwwwwwwwwwwwG.",
    "..GwwwwwwwwwwG..",
    "...GwwwwwwwwG...",
    "....GwwwwwwG....",
    ".....GwwwwG.....",
    "......GwwG......",
    "......GwwG......",
    "......GwwG......",
    "......GwwG......",
    "......GwwG......",
    "......GGGG......",
    "................",
    "................",
}};

constexpr Pattern<16> kFilterOn{{
    "................",
    "................",
    "kkkkkkkkkkkkkkkk",
    "koooooooooooooyk",
    ".kooooooooooook.",
    "..kooooooooook..",
    "...kooooooook...",
    "....kooooook....",
    ".....koooook....",
    "......kook......",
    "......kook......",
    "......kook......",
    "......kookk.....",
    "......kkkk......",
    "................",
    "................",
}};

// Table kinds, 22 x 15: table; synonym or link (a table with a link arrow); view (a table seen
// through an eye).
constexpr Pattern<15> kTable{{
    "......................",
    "...kkkkkkkkkkkkkkkk...",
    "...kbbbbbbbbbbbbbbk...",
    "...kbbbbbbbbbbbbbbk...",
    "...kGGGGGGGGGGGGGGk...",
    "...kwwwwGwwwwGwwwwk...",
    "...kwwwwGwwwwGwwwwk...",
    "...kGGGGGGGGGGGGGGk...",
    "...kwwwwGwwwwGwwwwk...",
    "...kwwwwGwwwwGwwwwk...",
    "...kGGGGGGGGGGGGGGk...",
    "...kwwwwGwwwwGwwwwk...",
    "...kwwwwGwwwwGwwwwk...",
    "...kkkkkkkkkkkkkkkk...",
    "......................",
}};

constexpr Pattern<7> kLinkArrow{{
    "kkkkkkk",
    "kwwwwwk",
    "kwkkkwk",
    "kwwkkwk",
    "kwkwkwk",
    "kkwwwwk",
    "kkkkkkk",
}};

constexpr Pattern<6> kEye{{
    "..kkkkk..",
    ".kwwwwwk.",
    "kwwkBkwwk",
    "kwwkkkwwk",
    ".kwwwwwk.",
    "..kkkkk..",
}};

static_assert(kFilterOff.Rectangular() && kFilterOn.Rectangular() && kTable.Rectangular() && kLinkArrow.Rectangular() &&
              kEye.Rectangular());

}  // namespace

QImage DbGridImage(int index) {
  QImage image = art::Transparent(16, 16);
  if (index == 0) art::Paint(image, kFilterOff);
  if (index == 1) art::Paint(image, kFilterOn);
  return image;
}

QList<QPixmap> LoadDbGridImages() {
  return {QPixmap::fromImage(DbGridImage(0)), QPixmap::fromImage(DbGridImage(1))};
}

QImage TableKindImage(int index) {
  QImage image = art::Transparent(22, 15);
  if (index < 0 || index > 2) return image;
  art::Paint(image, kTable);
  if (index == 1) art::Paint(image, kLinkArrow, 0, 8);
  if (index == 2) art::Paint(image, kEye, 13, 9);
  return image;
}

QList<QPixmap> TableKindImages() {
  return {QPixmap::fromImage(TableKindImage(0)), QPixmap::fromImage(TableKindImage(1)),
          QPixmap::fromImage(TableKindImage(2))};
}

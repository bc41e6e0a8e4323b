// The toolbar images, 16 x 15, one per toolbar command. The record commands share one picture
// of a small table with its current row marked, with the action drawn over its lower right.
#include <QPainter>

#include "resources/Art.h"
#include "resources/CommandIds.h"
#include "resources/MainFrameResources.h"
#include "resources/PixelArt.h"

namespace {
using art::Pattern;
using Image = Pattern<15>;

constexpr bool Fits(const Image& image) {
  return image.Rectangular() && image.rows[0].size() == 16;
}

constexpr Image kOpen{{
    "................",
    ".kkkkk..........",
    "kYYYYYk.........",
    "kYYYYYYkkkkkkk..",
    "kYYYYYYYYYYYYYk.",
    "kYYYYYYYYYYYYYk.",
    "kYYYkkkkkkkkkkkk",
    "kYYkyyyyyyyyyyyk",
    "kYYkyyyyyyyyyyk.",
    "kYkyyyyyyyyyyyk.",
    "kYkyyyyyyyyyyk..",
    "kkyyyyyyyyyyyk..",
    "kkyyyyyyyyyyk...",
    "kkkkkkkkkkkkk...",
    "................",
}};

constexpr Image kSaveAs{{
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kbkwwwwwwwwkbk.",
    ".kbkwGGGGGGwkbk.",
    ".kbkwwwwwwwwkbk.",
    ".kbkwGGGGGwwkbk.",
    ".kbbkkkkkkkkbbk.",
    ".kbbbbbbbbbbbbk.",
    ".kbbbggggggbbbk.",
    ".kbbbgkkgggbbbk.",
    ".kbbbgkkgggbbbk.",
    ".kbbbgkkgggbbbk.",
    ".kBbbggggggbbbk.",
    ".kkkkkkkkkkkkkk.",
    "................",
}};

constexpr Image kListTables{{
    "................",
    "kkkkkkkkkkkkkkkk",
    "kbbbbbbbbbbbbbbk",
    "kbbbbbbbbbbbbbbk",
    "kGGGGGGGGGGGGGGk",
    "kwwwwGwwwwGwwwwk",
    "kwwwwGwwwwGwwwwk",
    "kGGGGGGGGGGGGGGk",
    "kwwwwGwwwwGwwwwk",
    "kwwwwGwwwwGwwwwk",
    "kGGGGGGGGGGGGGGk",
    "kwwwwGwwwwGwwwwk",
    "kwwwwGwwwwGwwwwk",
    "kkkkkkkkkkkkkkkk",
    "................",
}};

constexpr Image kExecute{{
    "......RRRR......",
    ".....RrrrrR.....",
    ".....RrrrrR.....",
    ".....RrrrrR.....",
    ".....RrrrrR.....",
    "......RrrR......",
    "......RrrR......",
    "......RrrR......",
    "......RrrR......",
    ".......RR.......",
    "................",
    "......RRRR......",
    ".....RrrrrR.....",
    ".....RrrrrR.....",
    "......RRRR......",
}};

// A red octagon with a white bar: stop reading rows.
constexpr Image kStop{{
    "................",
    ".....RRRRRR.....",
    "....RrrrrrrR....",
    "...RrrrrrrrrR...",
    "..RrrrrrrrrrrR..",
    ".RrrrrrrrrrrrrR.",
    ".RrrwwwwwwwwrrR.",
    ".RrrwwwwwwwwrrR.",
    ".RrrwwwwwwwwrrR.",
    ".RrrrrrrrrrrrrR.",
    "..RrrrrrrrrrrR..",
    "...RrrrrrrrrR...",
    "....RrrrrrrR....",
    ".....RRRRRR.....",
    "................",
}};

constexpr Image kCut{{
    "...k........k...",
    "...kG......Gk...",
    "....kG....Gk....",
    "....kG....Gk....",
    ".....kG..Gk.....",
    ".....kG..Gk.....",
    "......kGGk......",
    ".......kk.......",
    "......RkkR......",
    ".....RR..RR.....",
    "..RRRR....RRRR..",
    ".R...R....R...R.",
    ".R...R....R...R.",
    ".R...R....R...R.",
    "..RRR......RRR..",
}};

constexpr Image kCopy{{
    "kkkkkkkkk.......",
    "kwwwwwwwk.......",
    "kwGGGGGwk.......",
    "kwwwwwwwk.......",
    "kwGGGGkkkkkkkkkk",
    "kwwwwwkwwwwwwwwk",
    "kwGGGGkwGGGGGGwk",
    "kwwwwwkwwwwwwwwk",
    "kwGGGGkwGGGGGGwk",
    "kwwwwwkwwwwwwwwk",
    "kkkkkkkwGGGGGGwk",
    "......kwwwwwwwwk",
    "......kwGGGGwwwk",
    "......kwwwwwwwwk",
    "......kkkkkkkkkk",
}};

constexpr Image kPaste{{
    ".....kkkkk......",
    ".kkkkgGGGgkkkk..",
    "knnnkgggggknnnk.",
    "knnnnkkkkknnnnk.",
    "knnnnnnnnnnnnnk.",
    "knnnnnkkkkkkkkkk",
    "knnnnnkwwwwwwwwk",
    "knnnnnkwGGGGGGwk",
    "knnnnnkwwwwwwwwk",
    "knnnnnkwGGGGGGwk",
    "knnnnnkwwwwwwwwk",
    "knnnnnkwGGGGwwwk",
    "knnnnnkwwwwwwwwk",
    "kkkkkkkkkkkkkkkk",
    "................",
}};

constexpr Image kPrint{{
    "................",
    "....kkkkkkkk....",
    "....kwwwwwwk....",
    "....kwGGGGwk....",
    "....kwwwwwwk....",
    ".kkkkkkkkkkkkkk.",
    "kggggggggggggggk",
    "kgggggggggggeegk",
    "kGGGGGGGGGGGGGGk",
    "kGGkkkkkkkkkkGGk",
    "kGGkwwwwwwwwkGGk",
    "kkkkwGGGGGGwkkkk",
    "....kwwwwwwk....",
    "....kkkkkkkk....",
    "................",
}};

// The record picture: a table whose current row is marked.
constexpr Image kRecord{{
    "kkkkkkkkkkkk....",
    "kbbbbbbbbbbk....",
    "kGGGGGGGGGGk....",
    "kwwwGwwwwwwk....",
    "kGGGGGGGGGGk....",
    "kyyyYyyyyyyk....",
    "kGGGGGGGGGGk....",
    "kwwwGwwwwwwk....",
    "kGGGGGGGGGGk....",
    "kwwwGwwwwwwk....",
    "kkkkkkkkkkkk....",
    "................",
    "................",
    "................",
    "................",
}};

constexpr Pattern<7> kPlus{{
    "..kkk..",
    "..kek..",
    "kkkekkk",
    "keeeeek",
    "kkkekkk",
    "..kek..",
    "..kkk..",
}};

constexpr Pattern<8> kPencil{{
    "......kk",
    ".....krk",
    "....kyyk",
    "...kyyk.",
    "..kyyk..",
    ".kpyk...",
    ".kpk....",
    "kk......",
}};

constexpr Pattern<7> kCross{{
    "Rr...rR",
    "rrr.rrr",
    ".rrrrr.",
    "..rrr..",
    ".rrrrr.",
    "rrr.rrr",
    "Rr...rR",
}};

constexpr Pattern<8> kMagnifier{{
    ".kkkk...",
    "kwlllk..",
    "kllllk..",
    "kllllk..",
    ".kkkkN..",
    ".....NN.",
    "......NN",
    ".......N",
}};

constexpr Image kExport{{
    "kkkkkkkkk.......",
    "kwwwwwwwk.......",
    "keeeeeeek.......",
    "kwwGwwGwk.......",
    "kGGGGGGGk...k...",
    "kwwGwwGwk...kk..",
    "kGGGGGGkkkkkkek.",
    "kwwGwwGkeeeeeeek",
    "kGGGGGGkkkkkkek.",
    "kwwGwwGwk...kk..",
    "kGGGGGGGk...k...",
    "kwwGwwGwk.......",
    "kwwwwwwwk.......",
    "kkkkkkkkk.......",
    "................",
}};

constexpr Image kInPlaceEdit{{
    "..........kk.kk.",
    "............k...",
    "GGGGGGGGGGGGkGGG",
    "GwwwwGwwwwwwkwwG",
    "GGGGGGGGGGGGkGGG",
    "bbbbbbbbbbbbkbbb",
    "bwwwwwwwwwwwkwwb",
    "bwkkkwkkwkkwkwwb",
    "bwwwwwwwwwwwkwwb",
    "bbbbbbbbbbbbkbbb",
    "GGGGGGGGGGGGkGGG",
    "GwwwwGwwwwwwkwwG",
    "GGGGGGGGGGGGkGGG",
    "............k...",
    "..........kk.kk.",
}};

constexpr Image kFilter{{
    "................",
    "kkkkkkkkkkkkkkkk",
    "kllllllllllllllk",
    ".kbbbbbbbbbbbbk.",
    "..kbbbbbbbbbbk..",
    "...kbbbbbbbbk...",
    "....kbbbbbbk....",
    ".....kbbbbk.....",
    "......kbbk......",
    "......kbbk......",
    "......kbbk......",
    "......kbbk......",
    "......kbbkk.....",
    "......kkkk......",
    "................",
}};

constexpr Image kFormatQuery{{
    "................",
    "kkkkkkkkk.......",
    "................",
    "...bbbbbbbbbbbb.",
    "................",
    "...bbbbbbbb.....",
    "................",
    "kkkkkkk.........",
    "................",
    "...bbbbbbbbbbb..",
    "................",
    "kkkkkkkkkk......",
    "................",
    "...bbbbbbbbbbbbb",
    "................",
}};

constexpr Image kAbout{{
    ".....BBBBBB.....",
    "...BBbbbbbbBB...",
    "..Bbbbbbbbbbbb..",
    ".Bbbbbbwwbbbbbb.",
    ".Bbbbbbwwbbbbbb.",
    "Bbbbbbbbbbbbbbb.",
    "Bbbbbbwwwbbbbbb.",
    "Bbbbbbbwwbbbbbb.",
    "Bbbbbbbwwbbbbbb.",
    "Bbbbbbbwwbbbbbb.",
    ".Bbbbbbwwbbbbb..",
    ".BbbbbwwwwBbbB..",
    "..BbbbbbbbbbB...",
    "...BBbbbbbBB....",
    ".....BBBBB......",
}};

constexpr Image kSqlSyntax{{
    "................",
    "..kkkkkkkkkkkk..",
    ".kBbbbbbbbbbbk..",
    ".kBbbbwwwbbbbk..",
    ".kBbbwbbbwbbbk..",
    ".kBbbbbbbwbbbk..",
    ".kBbbbbbwbbbbk..",
    ".kBbbbbwbbbbbk..",
    ".kBbbbbwbbbbbk..",
    ".kBbbbbbbbbbbk..",
    ".kBbbbbwbbbbbk..",
    ".kBkkkkkkkkkkk..",
    ".kBwwwwwwwwwwk..",
    "..kkkkkkkkkkkk..",
    "................",
}};

static_assert(Fits(kOpen) && Fits(kSaveAs) && Fits(kListTables) && Fits(kExecute) && Fits(kCut) && Fits(kCopy) &&
              Fits(kPaste) && Fits(kPrint) && Fits(kRecord) && Fits(kExport) && Fits(kInPlaceEdit) && Fits(kFilter) &&
              Fits(kFormatQuery) && Fits(kAbout) && Fits(kSqlSyntax) && Fits(kStop));
static_assert(kPlus.Rectangular() && kPencil.Rectangular() && kCross.Rectangular() && kMagnifier.Rectangular());

QImage Blank() {
  return art::Transparent(kToolbarImageWidth, kToolbarImageHeight);
}

QImage From(const Image& pattern) {
  QImage image = Blank();
  art::Paint(image, pattern);
  return image;
}

QImage RecordWith(auto const& overlay, int x, int y) {
  QImage image = From(kRecord);
  art::Paint(image, overlay, x, y);
  return image;
}

QImage DuplicateRecord() {
  // Two records, the copy in front and lower right.
  QImage image = Blank();
  art::Paint(image, kRecord, 0, 0);
  art::Paint(image, kRecord, 4, 4);
  return image;
}

}  // namespace

QImage ToolbarImage(int commandId) {
  switch (commandId) {
    case ID_FILE_OPEN:
      return From(kOpen);
    case ID_FILE_SAVE_AS:
      return From(kSaveAs);
    case ID_LIST_TABLES:
      return From(kListTables);
    case ID_EXECUTE:
      return From(kExecute);
    case ID_STOP:
      return From(kStop);
    case ID_EDIT_CUT:
      return From(kCut);
    case ID_EDIT_COPY:
      return From(kCopy);
    case ID_EDIT_PASTE:
      return From(kPaste);
    case ID_FILE_PRINT:
      return From(kPrint);
    case ID_RECORD_NEW:
      return RecordWith(kPlus, 9, 8);
    case ID_RECORD_EDIT:
      return RecordWith(kPencil, 8, 7);
    case ID_RECORD_DELETE:
      return RecordWith(kCross, 9, 8);
    case ID_RECORD_DUPLICATE:
      return DuplicateRecord();
    case ID_RECORD_SEARCH:
      return RecordWith(kMagnifier, 8, 7);
    case ID_EXPORT:
      return From(kExport);
    case ID_IN_PLACE_EDIT:
      return From(kInPlaceEdit);
    case ID_FILTER_ROW:
      return From(kFilter);
    case ID_FORMAT_QUERY:
      return From(kFormatQuery);
    case ID_APP_ABOUT:
      return From(kAbout);
    case ID_SQL_SYNTAX:
      return From(kSqlSyntax);
    default:
      return QImage();
  }
}

QIcon CommandIcon(int commandId) {
  const QImage image = ToolbarImage(commandId);
  return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

QImage ToolbarStrip() {
  std::vector<QImage> images;
  for (int id : MainToolbar())
    if (id != 0) images.push_back(ToolbarImage(id));
  QImage strip = art::Transparent(kToolbarImageWidth * static_cast<int>(images.size()), kToolbarImageHeight);
  QPainter painter(&strip);
  for (std::size_t i = 0; i < images.size(); ++i)
    painter.drawImage(static_cast<int>(i) * kToolbarImageWidth, 0, images[i]);
  return strip;
}

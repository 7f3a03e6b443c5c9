#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/raster/geometry.h"

namespace quillo {

// The default field colours: corner, vertical and horizontal.
inline constexpr Color kDefaultCorner = Rgb(0, 0, 255);
inline constexpr Color kDefaultVertical = Rgb(255, 0, 0);
inline constexpr Color kDefaultHorizontal = Rgb(0, 255, 0);

// The colour field: a screen-sized gradient of three colours, corner C, vertical V
// and horizontal H, in the corner layout or the centre layout.
class ColourField {
 public:
  Color corner = kDefaultCorner;
  Color vertical = kDefaultVertical;
  Color horizontal = kDefaultHorizontal;
  bool centerMode = false;

  // The editor window's size, which the corner layout takes as the field's size.
  int32_t editorWidth = 0;
  int32_t editorHeight = 0;

  int32_t fieldWidth = 0;
  int32_t fieldHeight = 0;
  int32_t fieldHalfWidth = 0;
  int32_t fieldHalfHeight = 0;
  Color lastFieldColor = 0;

  // The field painter's rows above the centre, kept for the rows that mirror them;
  // held here so that each painting reuses the memory of the last.
  std::vector<uint32_t> mirrorRows;

  // Sets the editor size and the field size with it.
  void SetEditorSize(int32_t w, int32_t h);

  // The field's colour at (x, y); stores it as lastFieldColor. The corner layout
  // first takes the editor's size as the field's size. A field of half height 0 is
  // not evaluated: the last colour comes back.
  Color FieldColorValue(int32_t x, int32_t y);

  // The colour at a canvas point, mirrored at 0 and clamped to the field.
  Color FieldColorAt(int32_t x, int32_t y);
  // FieldColorAt for each point in turn, into out[0 .. points.size()).
  void FieldColorsAt(std::span<const Point> points, Color* out);

 private:
  // The terms of the column (or row) distances from the centre, an array each: the
  // band colour's channels scaled by the band weight, and the corner weight. An entry
  // is valid while its stamp matches the generation's.
  struct TermTable {
    std::vector<double> red, green, blue, corner;
    std::vector<uint32_t> stamp;
    bool complete = false;  // every entry valid in this generation
    void Resize(size_t n);
  };

  // FieldColorValue with the field's size as it stands.
  Color Evaluate(int32_t x, int32_t y);
  // Whether points of the field are evaluated from kept terms.
  bool KeepsTerms() const;
  // The colour of a point from its column's and its row's terms and the corner colour.
  static Color MixTerms(const TermTable& columns, size_t ix, const TermTable& rows, size_t iy,
                        const double* corner);
  // The same from the weights themselves, for points outside the field.
  [[gnu::noinline]] Color EvaluateDirect(int32_t x, int32_t y);
  // Whether the kept terms were worked out for the colours, layout and size as they are.
  bool TermsCurrent() const {
    return stamp_ != 0 && termsCorner_ == corner && termsVertical_ == vertical &&
           termsHorizontal_ == horizontal && termsCenterMode_ == centerMode &&
           termsHalfWidth_ == fieldHalfWidth && termsHalfHeight_ == fieldHalfHeight;
  }
  // Starts a new generation of terms for the colours, layout and size as they are.
  void RenewTerms();
  // Makes the terms at a distance from the centre valid, working them out on first use
  // in a generation.
  void TermsAt(TermTable& terms, size_t distance, double half, Color band);
  [[gnu::noinline]] void FillTerms(TermTable& terms, size_t distance, double half,
                                   Color band) const;
  // Makes every entry of a table valid.
  void CompleteTerms(TermTable& terms, double half, Color band);

  // What the kept terms were worked out for.
  Color termsCorner_ = 0;
  Color termsVertical_ = 0;
  Color termsHorizontal_ = 0;
  bool termsCenterMode_ = false;
  int32_t termsHalfWidth_ = 0;
  int32_t termsHalfHeight_ = 0;
  double cornerChannels_[3] = {};
  uint32_t stamp_ = 0;
  TermTable columns_;
  TermTable rows_;
};

}  // namespace quillo

#include "platform/gtk/pango_text_renderer.h"

#include <algorithm>

#include "platform/canvas.h"
#include "platform/gtk/canvas_cairo.h"
#include "platform/gtk/font_mapping.h"

namespace vellora::shell {

PangoTextRenderer::PangoTextRenderer(double dotsPerInch)
    : dotsPerInch_(dotsPerInch), context_(pango_font_map_create_context(pango_cairo_font_map_get_default())) {
  // Grey anti-aliasing (no colour fringes on the canvas) and whole-pixel advances, so that
  // measured widths are the widths drawn.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context_, options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(context_, dotsPerInch_);
}

PangoTextRenderer::~PangoTextRenderer() { g_object_unref(context_); }

PangoLayout* PangoTextRenderer::Layout(const std::string& text, const FontSpec& font) {
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, NativeFontFamily(font.face).c_str());
  pango_font_description_set_absolute_size(description, FontPixelHeight(font.points, dotsPerInch_) * PANGO_SCALE);
  pango_font_description_set_weight(description,
                                    static_cast<PangoWeight>(std::clamp(font.weight > 0 ? font.weight : 400, 100, 1000)));
  pango_font_description_set_style(description, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  PangoLayout* layout = pango_layout_new(context_);
  pango_layout_set_font_description(layout, description);
  pango_font_description_free(description);
  if (font.underline) {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
  }
  pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
  return layout;
}

PixelSize PangoTextRenderer::Measure(const std::string& text, const FontSpec& font) {
  PangoLayout* layout = Layout(text, font);
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  g_object_unref(layout);
  return {logical.width, logical.height};
}

int32_t PangoTextRenderer::LineAdvance(const FontSpec& font) {
  // Windows steps down by the font's ascent plus descent, which for the forms' Japanese faces
  // is one em. The logical box of their stand-ins here is a pixel taller, enough to push the
  // last line of a label sized for those faces past its bottom.
  return FontPixelHeight(font.points, dotsPerInch_);
}

void PangoTextRenderer::Draw(Canvas& canvas, int32_t x, int32_t y, const std::string& text, const FontSpec& font,
                             Rgb colour) {
  if (text.empty() || canvas.Empty()) return;
  PangoLayout* layout = Layout(text, font);
  PangoRectangle ink, logical;
  pango_layout_get_pixel_extents(layout, &ink, &logical);
  // The text is drawn over a copy of the canvas under it, so the background shows through
  // the anti-aliased edges; glyphs may reach past the logical box, hence the ink too.
  const PixelRect area{x + std::min(ink.x, logical.x), y + std::min(ink.y, logical.y),
                       x + std::max(ink.x + ink.width, logical.x + logical.width),
                       y + std::max(ink.y + ink.height, logical.y + logical.height)};
  const int32_t left = std::max(area.left, 0), top = std::max(area.top, 0);
  cairo_surface_t* surface = SurfaceFromCanvas(canvas, area);
  if (cairo_image_surface_get_width(surface) > 0 && cairo_image_surface_get_height(surface) > 0) {
    cairo_t* cr = cairo_create(surface);
    cairo_translate(cr, x - left, y - top);
    cairo_set_source_rgb(cr, colour.r / 255.0, colour.g / 255.0, colour.b / 255.0);
    pango_cairo_show_layout(cr, layout);
    cairo_destroy(cr);
    CopySurfaceToCanvas(surface, canvas, left, top);
  }
  cairo_surface_destroy(surface);
  g_object_unref(layout);
}

}  // namespace vellora::shell

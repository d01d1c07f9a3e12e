#include "app/picture/profile_plot.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/picture/elevation_legend.h"
#include "app/picture/png_canvas.h"

namespace kafcad {

namespace {

constexpr double kFontSize = 12.0;
constexpr double kLeftMargin = 78.0;    // room for the elevations and their title
constexpr double kBottomMargin = 52.0;  // for the stations and their title
constexpr double kTopMargin = 46.0;     // for the key and the exaggeration
constexpr double kRightMargin = 24.0;

constexpr double kColours[][3] = {{0.55, 0.35, 0.12}, {0.85, 0.1, 0.1},  {0.1, 0.3, 0.85},
                                  {0.1, 0.6, 0.2},    {0.55, 0.2, 0.65}, {0.95, 0.55, 0.05}};

struct Range {
    double low = INFINITY;
    double high = -INFINITY;

    void Take(double v) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    double Span() const { return high - low; }
};

// The plot area's scale: pixels per station unit across, `exaggeration` times that up.
struct PlotFrame {
    double left, top, width, height;
    Range stations, elevations;
    double scale;
    double exaggeration;

    double X(double station) const { return left + (station - stations.low) * scale; }
    double Y(double z) const { return top + height - (z - elevations.low) * scale * exaggeration; }
};

// Fits the ranges to the area: the scale the tighter of the two directions allows, both ranges
// widened about their middles to fill the area.
PlotFrame FitFrame(Range stations, Range elevations, double exaggeration, int width, int height) {
    if (!(stations.Span() > 0)) {
        stations = {stations.low == INFINITY ? 0.0 : stations.low - 0.5,
                    stations.low == INFINITY ? 1.0 : stations.low + 0.5};
    }
    if (!(elevations.Span() > 0)) {
        elevations = {elevations.low == INFINITY ? 0.0 : elevations.low - 0.5,
                      elevations.low == INFINITY ? 1.0 : elevations.low + 0.5};
    }
    const double pad = 0.05 * elevations.Span();
    elevations = {elevations.low - pad, elevations.high + pad};
    PlotFrame frame{kLeftMargin,
                    kTopMargin,
                    std::max(10.0, width - kLeftMargin - kRightMargin),
                    std::max(10.0, height - kTopMargin - kBottomMargin),
                    stations,
                    elevations,
                    0.0,
                    exaggeration};
    frame.scale =
        std::min(frame.width / stations.Span(), frame.height / (elevations.Span() * exaggeration));
    const double middleZ = (elevations.low + elevations.high) / 2;
    const double halfZ = frame.height / (frame.scale * exaggeration) / 2;
    frame.elevations = {middleZ - halfZ, middleZ + halfZ};
    const double middleS = (stations.low + stations.high) / 2;
    const double halfS = frame.width / frame.scale / 2;
    frame.stations = {middleS - halfS, middleS + halfS};
    return frame;
}

void ShowText(cairo_t* cr, double x, double y, const char* text, double alignX) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    cairo_move_to(cr, x - alignX * extents.x_advance, y);
    cairo_show_text(cr, text);
}

void DrawGrid(cairo_t* cr, const PlotFrame& f) {
    char label[32];
    cairo_set_line_width(cr, 1.0);
    const double stationStep = RoundStep(f.stations.Span(), f.width / 90.0);
    for (double k = std::ceil(f.stations.low / stationStep); k * stationStep <= f.stations.high;
         k += 1.0) {
        const double x = std::round(f.X(k * stationStep)) + 0.5;
        cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
        cairo_move_to(cr, x, f.top);
        cairo_line_to(cr, x, f.top + f.height);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        std::snprintf(label, sizeof label, "%g", k * stationStep + 0.0);
        ShowText(cr, x, f.top + f.height + kFontSize + 4, label, 0.5);
    }
    const double zStep = RoundStep(f.elevations.Span(), f.height / 50.0);
    for (double k = std::ceil(f.elevations.low / zStep); k * zStep <= f.elevations.high; k += 1.0) {
        const double y = std::round(f.Y(k * zStep)) + 0.5;
        cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
        cairo_move_to(cr, f.left, y);
        cairo_line_to(cr, f.left + f.width, y);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        std::snprintf(label, sizeof label, "%g", k * zStep + 0.0);  // no "-0"
        ShowText(cr, f.left - 6, y + kFontSize * 0.35, label, 1.0);
    }
    cairo_rectangle(cr, f.left + 0.5, f.top + 0.5, f.width - 1, f.height - 1);
    cairo_stroke(cr);
    ShowText(cr, f.left + f.width / 2, f.top + f.height + 2.6 * kFontSize + 6, "Station / offset",
             0.5);
    cairo_save(cr);
    cairo_translate(cr, 16, f.top + f.height / 2);
    cairo_rotate(cr, -std::acos(0.0));  // a quarter turn back
    ShowText(cr, 0, 0, "Elevation", 0.5);
    cairo_restore(cr);
}

void DrawKey(cairo_t* cr, const std::vector<PlotProfile>& profiles, const PlotFrame& f) {
    char text[64];
    std::snprintf(text, sizeof text, "Vertical exaggeration %g x", f.exaggeration);
    cairo_set_source_rgb(cr, 0, 0, 0);
    ShowText(cr, f.left, kFontSize + 8, text, 0.0);
    double x = f.left;
    const double y = kFontSize * 2 + 16;
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        const double* c = kColours[i % (sizeof kColours / sizeof kColours[0])];
        cairo_set_source_rgb(cr, c[0], c[1], c[2]);
        cairo_set_line_width(cr, 2.5);
        cairo_move_to(cr, x, y - kFontSize * 0.35);
        cairo_line_to(cr, x + 24, y - kFontSize * 0.35);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_text_extents_t extents;
        cairo_text_extents(cr, profiles[i].label.c_str(), &extents);
        ShowText(cr, x + 30, y, profiles[i].label.c_str(), 0.0);
        x += 30 + extents.x_advance + 20;
    }
}

}  // namespace

void RenderProfilePlot(const std::vector<PlotProfile>& profiles, double exaggeration,
                       const std::string& path, int width, int height) {
    const PngCanvas canvas(width, height);
    cairo_t* cr = canvas.Context();
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, kFontSize);
    Range stations;
    Range elevations;
    for (const PlotProfile& profile : profiles) {
        for (const auto& run : profile.runs) {
            for (const auto& point : run) {
                stations.Take(point.first);
                elevations.Take(point.second);
            }
        }
    }
    const PlotFrame frame = FitFrame(stations, elevations, exaggeration, width, height);
    DrawGrid(cr, frame);
    cairo_save(cr);
    cairo_rectangle(cr, frame.left, frame.top, frame.width, frame.height);
    cairo_clip(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        const double* c = kColours[i % (sizeof kColours / sizeof kColours[0])];
        cairo_set_source_rgb(cr, c[0], c[1], c[2]);
        cairo_set_line_width(cr, 2.0);
        for (const auto& run : profiles[i].runs) {
            for (std::size_t k = 0; k < run.size(); ++k) {
                const double x = frame.X(run[k].first);
                const double y = frame.Y(run[k].second);
                if (k == 0) {
                    cairo_move_to(cr, x, y);
                } else {
                    cairo_line_to(cr, x, y);
                }
            }
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
    DrawKey(cr, profiles, frame);
    canvas.Save(path);
}

}  // namespace kafcad

#include "demo_script.h"

#include <cmath>
#include <numbers>
#include <sstream>
#include <string_view>
#include <vector>

#include "app/program.h"

namespace quillo {
namespace {

struct ToolName {
  std::string_view caption;
  uint8_t code;
};
constexpr ToolName kTools[] = {
    {"FREE", dtfree},       {"RADIAL", dtline}, {"RECT", dtrectangle}, {"SCREEN", dtroundrect},
    {"ORBIT", dtellipse},   {"WAVES", dtwave},  {"WEB", dtNuwave},     {"ALIENS", dtNuWaveSpecial},
    {"TWISTER", dtTwister}, {"CPU", dtwave3},   {"DOLOOP", dtwave4},   {"BIOS", dtBios},
};

// The words of one line after its command.
class Args {
 public:
  explicit Args(std::istringstream& in) : in_(in) {}

  bool Word(std::string& out) { return static_cast<bool>(in_ >> out); }
  bool Number(double& out) { return static_cast<bool>(in_ >> out); }
  bool Int(int32_t& out) {
    double d = 0;
    if (!Number(d) || d != std::floor(d) || std::abs(d) > 1e6) return false;
    out = static_cast<int32_t>(d);
    return true;
  }
  // "X,Y"
  bool Pair(double& x, double& y) {
    std::string w;
    if (!Word(w)) return false;
    char comma = 0;
    std::istringstream p(w);
    return static_cast<bool>(p >> x >> comma >> y) && comma == ',' && p.peek() == EOF;
  }
  // "R,G,B"
  bool Colour(Color& out) {
    std::string w;
    if (!Word(w)) return false;
    int r = 0, g = 0, b = 0;
    char c1 = 0, c2 = 0;
    std::istringstream p(w);
    if (!(p >> r >> c1 >> g >> c2 >> b) || c1 != ',' || c2 != ',' || p.peek() != EOF) return false;
    if (r < 0 || g < 0 || b < 0 || r > 255 || g > 255 || b > 255) return false;
    out = Rgb(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
    return true;
  }
  // Nothing but blanks left; reads nothing.
  bool Done() {
    in_ >> std::ws;
    return in_.peek() == EOF;
  }

 private:
  std::istringstream& in_;
};

class Runner {
 public:
  explicit Runner(Program& program) : p_(program) {}

  // The fault of one line, or an empty string.
  std::string Line(const std::string& text);

 private:
  std::string Drag(const std::vector<Point>& path);
  Point At(double x, double y) const {
    return Point{static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y))};
  }

  Program& p_;
};

std::string Runner::Drag(const std::vector<Point>& path) {
  if (path.size() < 2) return "a drag needs at least two points";
  PaintLog& m = p_.main;
  Modifiers held;
  held.left = true;
  m.FormMouseDown(MouseButton::kLeft, {}, path.front());
  for (size_t i = 1; i < path.size(); ++i)
    m.FormMouseMove(held, path[i]);
  m.FormMouseUp(MouseButton::kLeft, {}, path.back());
  return {};
}

std::string Runner::Line(const std::string& text) {
  std::istringstream in(text.substr(0, text.find('#')));
  std::string command;
  if (!(in >> command)) return {};
  Args a(in);
  PaintLog& m = p_.main;
  Form& f = m.window.form;
  const std::string bad = "expected: " + command + " ";

  if (command == "tool") {
    std::string name;
    if (!a.Word(name) || !a.Done()) return bad + "NAME";
    for (const ToolName& t : kTools)
      if (t.caption == name) {
        p_.toolSelection.SelectTool(t.code);
        return {};
      }
    return "no tool " + name;
  }
  if (command == "wild") {
    std::string state;
    if (!a.Word(state) || (state != "on" && state != "off") || !a.Done()) return bad + "on|off";
    ControlEvent click;
    click.control = m.c.Wildbtn;
    // A click toggles the button; it is clicked only when it must change.
    if (f[m.c.Wildbtn].down != (state == "on")) f.Dispatch(click);
    return {};
  }
  if (command == "spec") {
    std::string way;
    int32_t times = 1;
    if (!a.Word(way) || (way != "up" && way != "down")) return bad + "up|down [N]";
    if (!a.Done() && (!a.Int(times) || times < 1 || !a.Done())) return bad + "up|down [N]";
    for (int32_t i = 0; i < times; ++i)
      way == "up" ? p_.toolSelection.IncrementSpec() : p_.toolSelection.DecrementSpec();
    return {};
  }
  if (command == "width") {
    int32_t w = 0;
    if (!a.Int(w) || w < 1 || w > 1024 || !a.Done()) return bad + "1..1024";
    m.SetPenWidth(w);
    return {};
  }
  if (command == "wave") {
    std::string which;
    int32_t v = 0;
    if (!a.Word(which) || !a.Int(v) || !a.Done()) return bad + "frequency|frequency2|phase N";
    const ControlId bar = which == "frequency"    ? m.c.ScrollBar1
                          : which == "frequency2" ? m.c.ScrollBar2
                          : which == "phase"      ? m.c.ScrollBar5
                                                  : kNoControl;
    if (bar == kNoControl) return "no wave slider " + which;
    m.SetSlider(bar, v);
    return {};
  }
  if (command == "field") {
    Color c = 0, v = 0, h = 0;
    if (!a.Colour(c) || !a.Colour(v) || !a.Colour(h) || !a.Done()) return bad + "R,G,B R,G,B R,G,B";
    p_.SetFieldColors(c, v, h);
    p_.RecordFieldTriple();
    return {};
  }
  if (command == "layout") {
    std::string which;
    if (!a.Word(which) || (which != "centre" && which != "corner") || !a.Done())
      return bad + "centre|corner";
    p_.ApplyKeyColor(which == "centre" ? ']' : '[');
    return {};
  }
  if (command == "clear") {
    if (!a.Done()) return bad;
    p_.canvasOps.ClearCanvas();
    return {};
  }
  if (command == "background") {
    if (!a.Done()) return bad;
    m.FormKeyPress(U'b');
    return {};
  }
  if (command == "key") {
    std::string which;
    if (!a.Word(which) || which.size() != 1 || !a.Done()) return bad + "a character";
    m.FormKeyPress(static_cast<char32_t>(static_cast<unsigned char>(which[0])));
    return {};
  }
  if (command == "keydown") {
    int32_t code = 0;
    if (!a.Int(code) || code < 0 || code > 255 || !a.Done()) return bad + "a key code";
    m.FormKeyDown(code, Modifiers{});
    return {};
  }
  if (command == "select") {
    if (!a.Done()) return bad;
    m.FormKeyDown(35, Modifiers{});  // End
    return {};
  }
  if (command == "negative") {
    if (!a.Done()) return bad;
    p_.canvasOps.NegativeSelection();
    return {};
  }
  if (command == "drag") {
    std::vector<Point> path;
    double x = 0, y = 0;
    while (a.Pair(x, y))
      path.push_back(At(x, y));
    if (!a.Done()) return bad + "X,Y X,Y ...";
    return Drag(path);
  }
  if (command == "line") {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int32_t steps = 0;
    if (!a.Pair(x0, y0) || !a.Pair(x1, y1) || !a.Int(steps) || steps < 1 || !a.Done())
      return bad + "X,Y X,Y STEPS";
    std::vector<Point> path;
    for (int32_t i = 0; i <= steps; ++i)
      path.push_back(At(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps));
    return Drag(path);
  }
  if (command == "arc" || command == "spiral") {
    double cx = 0, cy = 0, r0 = 0, r1 = 0, from = 0, to = 0;
    int32_t steps = 0;
    const bool arc = command == "arc";
    bool ok = a.Pair(cx, cy) && a.Number(r0);
    if (arc) {
      r1 = r0;
      ok = ok && a.Number(from) && a.Number(to);
    } else {
      double turns = 0;
      ok = ok && a.Number(r1) && a.Number(turns);
      to = 360 * turns;
    }
    if (!ok || !a.Int(steps) || steps < 1 || !a.Done())
      return bad + (arc ? "X,Y R FROM TO STEPS" : "X,Y R0 R1 TURNS STEPS");
    std::vector<Point> path;
    for (int32_t i = 0; i <= steps; ++i) {
      const double t = static_cast<double>(i) / steps;
      const double angle = (from + (to - from) * t) * std::numbers::pi / 180;
      const double r = r0 + (r1 - r0) * t;
      path.push_back(At(cx + r * std::cos(angle), cy + r * std::sin(angle)));
    }
    return Drag(path);
  }
  if (command == "lissajous") {
    double cx = 0, cy = 0, rx = 0, ry = 0, fx = 0, fy = 0;
    int32_t steps = 0;
    if (!a.Pair(cx, cy) || !a.Pair(rx, ry) || !a.Number(fx) || !a.Number(fy) || !a.Int(steps) ||
        steps < 1 || !a.Done())
      return bad + "X,Y RX,RY FX FY STEPS";
    std::vector<Point> path;
    for (int32_t i = 0; i <= steps; ++i) {
      const double t = 2 * std::numbers::pi * i / steps;
      path.push_back(At(cx + rx * std::sin(fx * t), cy + ry * std::sin(fy * t)));
    }
    return Drag(path);
  }
  if (command == "pad") {
    int32_t n = 0;
    if (!a.Int(n) || n < 1 || !a.Done()) return bad + "N";
    for (int32_t i = 0; i < n; ++i)
      m.SetPenWidth(m.images.canvas.PenWidth());
    return {};
  }
  return "unknown command " + command;
}

}  // namespace

std::string RunDemoScript(Program& program, const std::string& script) {
  Runner runner(program);
  std::istringstream lines(script);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (std::string fault = runner.Line(line); !fault.empty())
      return std::to_string(number) + ": " + fault;
    if (program.log.position >= kLogCapacity) return std::to_string(number) + ": the log is full";
  }
  return {};
}

}  // namespace quillo

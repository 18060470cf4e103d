#include "tools/script/Driver.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <istream>
#include <ostream>
#include <sstream>

#include "tools/script/Json.h"

namespace tallyroll {

namespace {

bool ParseInt(std::string_view text, int& value) {
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    return res.ec == std::errc() && res.ptr == text.data() + text.size();
}

// Splits "a,b,c,d" into exactly n numbers.
template <typename T>
bool ParseList(const std::string& text, std::size_t n, std::vector<T>& out) {
    out.clear();
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        T v{};
        auto res = std::from_chars(part.data(), part.data() + part.size(), v);
        if (res.ec != std::errc() || res.ptr != part.data() + part.size()) return false;
        out.push_back(v);
    }
    return out.size() == n;
}

// Decodes UTF-8; a stray byte stands for itself.
std::vector<char32_t> CodePoints(std::string_view s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        std::size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (lead >= 0x80 && lead < 0xC0) len = 1;
        bool ok = i + len <= s.size();
        for (std::size_t k = 1; ok && k < len; ++k)
            ok = (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
        if (!ok || len == 1) {
            out.push_back(lead);
            ++i;
            continue;
        }
        char32_t c = lead & (0xFF >> (len + 1));
        for (std::size_t k = 1; k < len; ++k)
            c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(c);
        i += len;
    }
    return out;
}

const char* IconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Warning:
            return "warning";
        case MessageIcon::Critical:
            return "critical";
        case MessageIcon::Information:
            break;
    }
    return "information";
}

std::string StateJson(const CalcState& st) {
    using json::Bool, json::Number, json::Quote;
    std::string o = "{";
    o += "\"dblTotal\":" + Number(st.dblTotal);
    o += ",\"dblOperand\":" + Number(st.dblOperand);
    o += ",\"dblLastOperand\":" + Number(st.dblLastOperand);
    o += ",\"dblMemory\":" + Number(st.dblMemory);
    o += ",\"bDecimalEntered\":" + Bool(st.bDecimalEntered);
    o += ",\"bytNumberCount\":" + std::to_string(st.bytNumberCount);
    o += ",\"strLastInput\":" + Quote(st.strLastInput);
    o += ",\"strOperator\":" + Quote(st.strOperator);
    o += ",\"bNegative\":" + Bool(st.bNegative);
    o += ",\"bTotalShown\":" + Bool(st.bTotalShown);
    o += ",\"bCancelPressed\":" + Bool(st.bCancelPressed);
    o += ",\"dblGrandTotal\":" + Number(st.dblGrandTotal);
    o += ",\"lngDepositNumber\":" + std::to_string(st.lngDepositNumber);
    o += ",\"strFormat\":" + Quote(st.strFormat);
    o += ",\"dblEntry\":" + Number(st.dblEntry);
    return o + "}";
}

// A command of a script: its word, what follows it, what it does, and how.
struct CommandWord {
    const char* word;
    const char* arguments;
    const char* does;
    std::string (*run)(ScriptBackend& backend, SessionLog& log, const std::string& rest);
};

// A command on one tape line, by its number.
template <std::string (ScriptBackend::*act)(int), const char* word>
std::string OnLine(ScriptBackend& backend, SessionLog&, const std::string& rest) {
    int n = 0;
    return ParseInt(rest, n) ? (backend.*act)(n) : std::string(word) + " needs a line number";
}
constexpr char kSelect[] = "select", kDblclick[] = "dblclick", kRclick[] = "rclick";

// Every command but "dump" and "controls", which ScriptRunner answers itself.
// The usage text (--help) is written from this table.
const CommandWord kCommands[] = {
    {"keys", "TEXT", "types each character of TEXT as a key",
     [](ScriptBackend& b, SessionLog&, const std::string& rest) -> std::string {
         for (const char32_t c : CodePoints(rest)) {
             if (b.ended()) break;
             if (auto err = b.typeCharacter(c); !err.empty()) return err;
         }
         return "";
     }},
    {"key", "NAME",
     "types one key: Enter, Escape, Backspace, Tab, Space or a chord (Ctrl+Shift+T, F2)",
     [](ScriptBackend& b, SessionLog&, const std::string& rest) -> std::string {
         static const std::pair<const char*, SpecialKey> kNames[] = {
             {"Enter", SpecialKey::Enter},
             {"Escape", SpecialKey::Escape},
             {"Backspace", SpecialKey::Backspace},
             {"Tab", SpecialKey::Tab},
             {"Space", SpecialKey::Space}};
         for (const auto& [name, key] : kNames)
             if (rest == name) return b.typeKey(key);
         if (const auto chord = ParseKeyChord(rest)) return b.typeChord(*chord);
         return "unknown key " + rest;
     }},
    {"click", "CONTROL[(INDEX)]", "clicks a control by its name",
     [](ScriptBackend& b, SessionLog&, const std::string& rest) -> std::string {
         const auto open = rest.find('(');
         if (open == std::string::npos) return b.click(rest, std::nullopt);
         int n = 0;
         if (rest.back() != ')' ||
             !ParseInt(std::string_view(rest).substr(open + 1, rest.size() - open - 2), n))
             return "bad control " + rest;
         return b.click(rest.substr(0, open), n);
     }},
    {"choose", "LIST ENTRY", "picks an entry of a list (cboDecPlace, cboType)",
     [](ScriptBackend& b, SessionLog&, const std::string& rest) -> std::string {
         const auto sp = rest.find(' ');
         int n = 0;
         if (sp == std::string::npos || !ParseInt(std::string_view(rest).substr(sp + 1), n))
             return "choose needs a list and an entry";
         return b.choose(rest.substr(0, sp), n);
     }},
    {kSelect, "LINE", "clicks a tape line", &OnLine<&ScriptBackend::select, kSelect>},
    {kDblclick, "LINE", "double-clicks a tape line", &OnLine<&ScriptBackend::dblclick, kDblclick>},
    {kRclick, "LINE", "right-clicks a tape line (its menu opens)",
     &OnLine<&ScriptBackend::rclick, kRclick>},
    {"menu", "TEXT", "picks the item of the open menu with that text",
     [](ScriptBackend& b, SessionLog&, const std::string& rest) { return b.menu(rest); }},
    {"start", "VALUE", "hands the calculator a start value",
     [](ScriptBackend& b, SessionLog&, const std::string& rest) -> std::string {
         const ReadResult r = ReadNumber(rest);
         const auto value = r.overflow ? std::nullopt : CurrencyFromDouble(r.value);
         if (!value) return "start value beyond the currency range: " + rest;
         return b.start(*value);
     }},
    {"deposit", "INTEGER", "deposits a number into the calculator",
     [](ScriptBackend& b, SessionLog&, const std::string& rest) -> std::string {
         int n = 0;
         return ParseInt(rest, n) ? b.deposit(n) : "deposit needs a 32-bit integer";
     }},
    {"close", "", "closes the calculator by its close box",
     [](ScriptBackend& b, SessionLog&, const std::string&) { return b.close(); }},
    {"clipboard", "TEXT", "puts TEXT on the clipboard",
     [](ScriptBackend& b, SessionLog&, const std::string& rest) { return b.setClipboard(rest); }},
    {"answer", "TEXT", "answers the next input box with TEXT",
     [](ScriptBackend&, SessionLog& log, const std::string& rest) -> std::string {
         log.answers.emplace_back(rest);
         return "";
     }},
    {"answer-cancel", "", "cancels the next input box",
     [](ScriptBackend&, SessionLog& log, const std::string&) -> std::string {
         log.answers.emplace_back(std::nullopt);
         return "";
     }},
    {"answer-file", "PATH", "answers the next file dialog with PATH",
     [](ScriptBackend&, SessionLog& log, const std::string& rest) -> std::string {
         if (rest.empty()) return "answer-file needs a path";
         log.fileAnswers.emplace_back(rest);
         return "";
     }},
    {"answer-file-cancel", "", "cancels the next file dialog",
     [](ScriptBackend&, SessionLog& log, const std::string&) -> std::string {
         log.fileAnswers.emplace_back(std::nullopt);
         return "";
     }},
    {"answer-choice", "ENTRY", "picks ENTRY in the next list (of kept tapes)",
     [](ScriptBackend&, SessionLog& log, const std::string& rest) -> std::string {
         int n = 0;
         if (!ParseInt(rest, n)) return "answer-choice needs an entry number";
         log.choiceAnswers.emplace_back(n);
         return "";
     }},
    {"answer-choice-cancel", "", "cancels the next list",
     [](ScriptBackend&, SessionLog& log, const std::string&) -> std::string {
         log.choiceAnswers.emplace_back(std::nullopt);
         return "";
     }},
    {"answer-question", "yes|no", "answers the next yes/no question",
     [](ScriptBackend&, SessionLog& log, const std::string& rest) -> std::string {
         if (rest != "yes" && rest != "no") return "answer-question takes yes or no";
         log.questionAnswers.push_back(rest == "yes");
         return "";
     }},
};

std::string RunCommand(ScriptBackend& backend, SessionLog& log, const std::string& line) {
    const auto space = line.find(' ');
    const std::string word = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    for (const CommandWord& c : kCommands)
        if (word == c.word) return c.run(backend, log, rest);
    return "unknown command " + word;
}

// The driver's options, for ParseDriverOptions and the usage text.
struct OptionWord {
    const char* option;
    const char* does;
};
constexpr OptionWord kOptions[] = {
    {"--host", "runs the session in the Demo host window (the window driver only)"},
    {"--now YYYY-MM-DDTHH:MM", "the clock's time (the real clock when not given)"},
    {"--workarea L,T,R,B", "the screen's work area, in pixels"},
    {"--tpp X,Y", "twips per pixel (15,15 at 96 dpi)"},
    {"--printer record|none|fail", "the default printer: recording, none, or one that fails"},
    {"--no-journal", "keeps no journal of the tape"},
    {"--help", "prints this text and exits"},
};

}  // namespace

std::optional<KeyChord> ParseKeyChord(const std::string& text) {
    static const std::pair<const char*, bool KeyChord::*> kModifiers[] = {
        {"Ctrl+", &KeyChord::ctrl}, {"Shift+", &KeyChord::shift}, {"Alt+", &KeyChord::alt}};
    KeyChord chord;
    std::string_view rest = text;
    // Modifiers come in this order, each at most once; what follows is the key
    // ("Ctrl++" is Ctrl with the "+" key).
    for (const auto& [prefix, flag] : kModifiers) {
        const std::string_view p = prefix;
        if (rest.size() > p.size() && rest.substr(0, p.size()) == p) {
            chord.*flag = true;
            rest.remove_prefix(p.size());
        }
    }
    static const char* const kNamed[] = {"F1",     "F2",        "F3",     "F4",     "F5",   "F6",
                                         "F7",     "F8",        "F9",     "F10",    "F11",  "F12",
                                         "Up",     "Down",      "Left",   "Right",  "Home", "End",
                                         "PageUp", "PageDown",  "Delete", "Insert", "Menu", "Enter",
                                         "Escape", "Backspace", "Tab",    "Space"};
    const bool printable = rest.size() == 1 && rest[0] > 32 && rest[0] < 127;
    const bool named =
        std::any_of(std::begin(kNamed), std::end(kNamed), [&](const char* n) { return rest == n; });
    if (!printable && !named) return std::nullopt;
    chord.key = std::string(rest);
    return chord;
}

std::string ControlName(const std::string& name, std::optional<int> index) {
    return index ? name + "(" + std::to_string(*index) + ")" : name;
}

std::string DriverUsage(const std::string& program) {
    std::string text = "usage: " + program +
                       " [OPTION]... < SCRIPT\n"
                       "Replays the session of SCRIPT, one command a line, and writes a JSON line "
                       "for every dump.\n\nOptions:\n";
    const auto row = [&text](const std::string& left, const char* right) {
        text +=
            "  " + left + std::string(left.size() < 30 ? 30 - left.size() : 1, ' ') + right + "\n";
    };
    for (const OptionWord& o : kOptions) row(o.option, o.does);
    text += "\nCommands (a line starting with # is a comment):\n";
    row("dump", "writes the whole state as one JSON line");
    row("controls", "writes every control of the window as one JSON line");
    for (const CommandWord& c : kCommands)
        row(std::string(c.word) + (*c.arguments ? std::string(" ") + c.arguments : ""), c.does);
    return text;
}

std::string ParseDriverOptions(const std::vector<std::string>& args, DriverOptions& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= args.size()) return false;
            v = args[++i];
            return true;
        };
        std::string v;
        if (a == "--host") {
            o.host = true;
        } else if (a == "--now") {
            LocalDateTime t;
            if (!value(v) || std::sscanf(v.c_str(), "%4d-%2d-%2dT%2d:%2d", &t.year, &t.month,
                                         &t.day, &t.hour, &t.minute) != 5)
                return "--now takes YYYY-MM-DDTHH:MM";
            o.now = t;
        } else if (a == "--workarea") {
            std::vector<int> edges;
            if (!value(v) || !ParseList(v, 4, edges)) return "--workarea takes L,T,R,B";
            o.workArea = std::array<int, 4>{edges[0], edges[1], edges[2], edges[3]};
        } else if (a == "--tpp") {
            std::vector<double> f;
            if (!value(v) || !ParseList(v, 2, f) || f[0] <= 0 || f[1] <= 0)
                return "--tpp takes X,Y";
            o.tppX = f[0];
            o.tppY = f[1];
        } else if (a == "--no-journal") {
            o.journal = false;
        } else if (a == "--help") {
            o.help = true;
        } else if (a == "--printer") {
            if (!value(v) || (v != "record" && v != "none" && v != "fail"))
                return "--printer takes record, none or fail";
            o.printer = v;
        } else {
            return "unknown option " + a;
        }
    }
    return "";
}

std::string DumpJson(const Snapshot& s, SessionLog& log, std::vector<std::string>& errors) {
    using json::Bool, json::Number, json::Quote;
    std::string o = "{";
    o += "\"display\":" + Quote(s.display);
    o += ",\"operator\":" + Quote(s.op);
    o += ",\"grandTotal\":" + Quote(s.grandTotal);
    o += ",\"memory\":" + Bool(s.memory);
    o += ",\"tape\":[";
    for (std::size_t i = 0; i < s.tape.size(); ++i) o += (i ? "," : "") + Quote(s.tape[i]);
    o += "],\"selected\":" + std::to_string(s.selected);
    o += ",\"panel\":{\"visible\":" + Bool(s.panel.visible) + ",\"from\":" + Quote(s.panel.from) +
         ",\"to\":" + Quote(s.panel.to) + ",\"type\":" + Quote(s.panel.type) + "}";
    o += ",\"decimals\":" + std::to_string(s.decimals);
    o += ",\"focus\":" + Quote(s.focus);
    o += ",\"state\":" + StateJson(s.state);
    if (s.window) {
        const auto& w = *s.window;
        o += ",\"window\":{\"shown\":" + Bool(w.shown) + ",\"enabled\":" + Bool(w.enabled) +
             ",\"accepted\":" + Bool(w.accepted) + ",\"left\":" + std::to_string(w.left) +
             ",\"top\":" + std::to_string(w.top) + ",\"width\":" + std::to_string(w.width) +
             ",\"height\":" + std::to_string(w.height) + "}";
    } else {
        o += ",\"window\":null";
    }
    o += ",\"title\":" + Bool(s.title);
    o += ",\"host\":" +
         (s.host ? "{\"shown\":" + Bool(s.host->shown) + ",\"value\":" + Quote(s.host->value) + "}"
                 : std::string("null"));
    o += ",\"ended\":" + Bool(s.ended);
    o += ",\"messages\":[";
    for (std::size_t i = 0; i < log.messages.size(); ++i) {
        const auto& m = log.messages[i];
        o += std::string(i ? "," : "") + "{\"title\":" + Quote(m.title) +
             ",\"text\":" + Quote(m.text) + ",\"icon\":" + Quote(IconName(m.icon)) + "}";
    }
    o += "],\"inputs\":[";
    for (std::size_t i = 0; i < log.inputs.size(); ++i) {
        const auto& in = log.inputs[i];
        o += std::string(i ? "," : "") + "{\"title\":" + Quote(in.title) +
             ",\"prompt\":" + Quote(in.prompt) +
             ",\"answer\":" + (in.answer ? Quote(*in.answer) : std::string("null")) + "}";
    }
    o += "],\"printed\":[";
    for (std::size_t i = 0; i < log.printed.size(); ++i) o += (i ? "," : "") + log.printed[i];
    o += "],\"beeps\":" + std::to_string(log.beeps);
    o += ",\"errors\":[";
    for (std::size_t i = 0; i < errors.size(); ++i) o += (i ? "," : "") + Quote(errors[i]);
    o += "],\"clipboard\":" + Quote(s.clipboard);
    o += ",\"files\":[";
    for (std::size_t i = 0; i < log.files.size(); ++i) {
        const auto& f = log.files[i];
        o += std::string(i ? "," : "") + "{\"title\":" + Quote(f.title) +
             ",\"mode\":" + Quote(f.mode == FileMode::Save ? "save" : "open") +
             ",\"answer\":" + (f.answer ? Quote(*f.answer) : std::string("null")) + "}";
    }
    o += "],\"questions\":[";
    for (std::size_t i = 0; i < log.questions.size(); ++i) {
        const auto& q = log.questions[i];
        o += std::string(i ? "," : "") + "{\"title\":" + Quote(q.title) +
             ",\"text\":" + Quote(q.text) + ",\"answer\":" + Quote(q.yes ? "yes" : "no") + "}";
    }
    o += "]}";
    log.messages.clear();
    log.inputs.clear();
    log.printed.clear();
    log.files.clear();
    log.questions.clear();
    log.beeps = 0;
    errors.clear();
    return o;
}

void ScriptRunner::run(std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') return;
    if (line == "dump") {
        out_ << DumpJson(backend_.snapshot(), log_, errors_) << '\n' << std::flush;
        return;
    }
    if (line == "controls") {
        std::string json;
        if (auto err = backend_.controls(json); !err.empty())
            errors_.push_back(line + ": " + err);
        else
            out_ << json << '\n' << std::flush;
        return;
    }
    if (backend_.ended()) return;  // the program has ended: nothing more runs
    if (auto err = RunCommand(backend_, log_, line); !err.empty())
        errors_.push_back(line + ": " + err);
}

void RunScript(ScriptBackend& backend, SessionLog& log, std::istream& script, std::ostream& out) {
    ScriptRunner runner(backend, log, out);
    std::string line;
    while (std::getline(script, line)) runner.run(line);
}

}  // namespace tallyroll

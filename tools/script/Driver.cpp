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

std::string RunCommand(ScriptBackend& backend, SessionLog& log, const std::string& line) {
    const auto space = line.find(' ');
    const std::string word = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    int n = 0;

    if (word == "keys") {
        for (const char32_t c : CodePoints(rest)) {
            if (backend.ended()) break;
            if (auto err = backend.typeCharacter(c); !err.empty()) return err;
        }
        return "";
    }
    if (word == "key") {
        static const std::pair<const char*, SpecialKey> kNames[] = {
            {"Enter", SpecialKey::Enter},
            {"Escape", SpecialKey::Escape},
            {"Backspace", SpecialKey::Backspace},
            {"Tab", SpecialKey::Tab},
            {"Space", SpecialKey::Space}};
        for (const auto& [name, key] : kNames)
            if (rest == name) return backend.typeKey(key);
        if (const auto chord = ParseKeyChord(rest)) return backend.typeChord(*chord);
        return "unknown key " + rest;
    }
    if (word == "click") {
        const auto open = rest.find('(');
        if (open == std::string::npos) return backend.click(rest, std::nullopt);
        if (rest.back() != ')' ||
            !ParseInt(std::string_view(rest).substr(open + 1, rest.size() - open - 2), n))
            return "bad control " + rest;
        return backend.click(rest.substr(0, open), n);
    }
    if (word == "choose") {
        const auto sp = rest.find(' ');
        if (sp == std::string::npos || !ParseInt(std::string_view(rest).substr(sp + 1), n))
            return "choose needs a list and an entry";
        return backend.choose(rest.substr(0, sp), n);
    }
    if (word == "select" || word == "dblclick") {
        if (!ParseInt(rest, n)) return word + " needs a line number";
        return word == "select" ? backend.select(n) : backend.dblclick(n);
    }
    if (word == "start") {
        const ReadResult r = ReadNumber(rest);
        const auto value = r.overflow ? std::nullopt : CurrencyFromDouble(r.value);
        if (!value) return "start value beyond the currency range: " + rest;
        return backend.start(*value);
    }
    if (word == "deposit") {
        if (!ParseInt(rest, n)) return "deposit needs a 32-bit integer";
        return backend.deposit(n);
    }
    if (word == "answer") {
        log.answers.emplace_back(rest);
        return "";
    }
    if (word == "answer-cancel") {
        log.answers.emplace_back(std::nullopt);
        return "";
    }
    if (word == "close") return backend.close();
    if (word == "rclick") {
        if (!ParseInt(rest, n)) return "rclick needs a line number";
        return backend.rclick(n);
    }
    if (word == "menu") return backend.menu(rest);
    if (word == "clipboard") return backend.setClipboard(rest);
    if (word == "answer-file") {
        if (rest.empty()) return "answer-file needs a path";
        log.fileAnswers.emplace_back(rest);
        return "";
    }
    if (word == "answer-file-cancel") {
        log.fileAnswers.emplace_back(std::nullopt);
        return "";
    }
    if (word == "answer-choice") {
        if (!ParseInt(rest, n)) return "answer-choice needs an entry number";
        log.choiceAnswers.emplace_back(n);
        return "";
    }
    if (word == "answer-choice-cancel") {
        log.choiceAnswers.emplace_back(std::nullopt);
        return "";
    }
    if (word == "answer-question") {
        if (rest != "yes" && rest != "no") return "answer-question takes yes or no";
        log.questionAnswers.push_back(rest == "yes");
        return "";
    }
    return "unknown command " + word;
}

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

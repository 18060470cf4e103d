#pragma once
// A calculator behind the headless stand-in whose default printer is a
// recording printer, with the recorded operations read back as structs.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Calculator.h"
#include "headless/HeadlessView.h"
#include "printing/Printers.h"
#include "tape/TapeLine.h"
#include "window/KeyTable.h"

namespace tallyroll::test {

inline const std::string M(kMinus);

// One recorded printer operation.
struct Op {
    std::string op, text, font;
    double x = 0, y = 0, w = 0, h = 0, size = 0;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    long color = -1;
    bool newline = false;
};

inline Op ParseOp(const std::string& json) {
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    Op op;
    op.op = o["op"].toString().toStdString();
    op.text = o["text"].toString().toStdString();
    op.font = o["font"].toString().toStdString();
    op.x = o["x"].toDouble();
    op.y = o["y"].toDouble();
    op.w = o["w"].toDouble();
    op.h = o["h"].toDouble();
    op.size = o["size"].toDouble();
    op.x1 = o["x1"].toDouble();
    op.y1 = o["y1"].toDouble();
    op.x2 = o["x2"].toDouble();
    op.y2 = o["y2"].toDouble();
    op.color = o["color"].toInteger(-1);
    op.newline = o["newline"].toBool();
    return op;
}

inline bool IsTapeLine(const Op& op) {
    return op.op == "text" && op.size == 10;
}

struct PrintSession {
    SessionLog log;
    HeadlessView view{&log};
    Calculator calc{view};

    PrintSession() {
        view.clock = {2026, 12, 7, 21, 16};
        view.printerFactory = [this] { return MakeRecordingPrinter(log); };
        calc.SetStartValue(0);
        calc.Form_Activate();
    }

    void keys(std::string_view s) {
        for (const char c : s) {
            std::int16_t code = static_cast<unsigned char>(c);
            CheckKeyPress(calc, code);
            ASSERT_EQ(code, 0) << "key " << c << " not consumed";
        }
    }

    // "P" with the title prompt answered (or cancelled when no title).
    void print(std::optional<std::string> title) {
        log.answers.push_back(std::move(title));
        keys("P");
    }

    std::vector<Op> ops() const {
        std::vector<Op> out;
        for (const std::string& json : log.printed) out.push_back(ParseOp(json));
        return out;
    }

    // The text operations of the tape lines: the 10-point texts after the
    // empty text that starts the document.
    std::vector<Op> tapeLines() const {
        std::vector<Op> out;
        const std::vector<Op> all = ops();
        for (std::size_t i = 1; i < all.size(); ++i)
            if (IsTapeLine(all[i])) out.push_back(all[i]);
        return out;
    }

    std::vector<std::string> tape() const {
        std::vector<std::string> lines;
        for (int i = 0; i < calc.tape().count(); ++i) lines.push_back(calc.tape().line(i));
        return lines;
    }
};

// Types `count` lines "+ 1.00".
inline void FillTape(PrintSession& s, int count) {
    for (int i = 0; i < count; ++i) s.keys("1+");
}

// A printed tape line with where it went: page and right edge.
struct Placed {
    Op op;
    int page;
    double rightEdge;
};

inline std::vector<Placed> Placements(const PrintSession& s) {
    std::vector<Placed> out;
    int page = 0;
    const std::vector<Op> all = s.ops();
    for (std::size_t i = 1; i < all.size(); ++i) {
        if (all[i].op == "newpage") ++page;
        if (IsTapeLine(all[i])) out.push_back({all[i], page, all[i].x + all[i].w});
    }
    return out;
}

// How many lines fill the first page, measured by printing a longer tape.
inline int LinesPerFirstPage() {
    PrintSession probe;
    FillTape(probe, 400);
    probe.print("probe");
    int count = 0;
    for (const Placed& p : Placements(probe)) count += p.page == 0;
    return count;
}

}  // namespace tallyroll::test

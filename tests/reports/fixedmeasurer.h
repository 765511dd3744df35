#pragma once

#include "reports/textmeasurer.h"

#include <algorithm>

// Text measured without fonts: every character is half the font's size wide and a line is
// 1.2 times its size, so page breaks in tests follow from the numbers alone.
class FixedMeasurer : public Report::TextMeasurer
{
public:
    static int charWidth(const Report::Font &f) { return int(f.size * 10); }
    static int lineHeight(const Report::Font &f) { return int(f.size * 24); }

    int wrappedHeight(const QString &text, const Report::Font &font, int width) const override
    {
        const int perLine = std::max(1, width / charWidth(font));
        const int lines = std::max<int>(1, int((text.size() + perLine - 1) / perLine));
        return lines * lineHeight(font);
    }
};

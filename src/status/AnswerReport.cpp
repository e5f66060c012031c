#include "status/AnswerReport.h"

#include "driver/Channel.h"
#include "status/NumberText.h"
#include "status/StatusField.h"

#include <algorithm>

namespace {

struct FormLine {
    const char* name;
    FieldType type;
};

const FormLine kForms[] = {
    {"hex", FieldHex},     {"unsigned", FieldUnsigned}, {"real", FieldReal},             {"text", FieldText},
    {"bytes", FieldByteList}, {"versionhex", FieldVersionHex}, {"versiondec", FieldVersionDec},
};

void AppendLine(std::string& report, const char* name, const std::string& value)
{
    report += name;
    if (!value.empty()) {
        report += ' ';
        report += value;
    }
    report += '\n';
}

} // namespace

std::string ReportAnswer(uint32_t command, bool failed, uint16_t status, uint16_t length, const uint8_t* buffer,
                         uint32_t size)
{
    std::string report;
    AppendLine(report, "failed", failed ? "1" : "0");
    AppendLine(report, "status", FormatPrintf("%u", unsigned(status)));
    AppendLine(report, "length", FormatPrintf("%u", unsigned(length)));

    std::string data;
    uint32_t shown = std::min<uint32_t>(size, length);
    for (uint32_t i = 0; i < shown; ++i) {
        if (i)
            data += ' ';
        data += FormatPrintf("%02x", unsigned(buffer[i]));
    }
    AppendLine(report, "data", data);

    if (size <= kFieldDataSize) {
        for (const FormLine& form : kForms) {
            StatusField field;
            field.init(command, form.type, "", 1.0f, 0.0f, "");
            // What fetch keeps: status 3 for a failed request.
            field.setAnswer(failed ? kStatusRequestFailed : status, length, buffer, size);
            AppendLine(report, form.name, field.format());
        }
    }
    return report;
}

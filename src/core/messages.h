#pragma once
// The records carried by the message bus. Every record starts with its 32-bit identifier, so a
// listener can look at `Msg` and then treat the record as the type that identifier names.

#include <cstdint>
#include <string>

constexpr std::uint32_t MSG_LOG_START = 32771;
constexpr std::uint32_t MSG_LOG_STOP = 32772;
constexpr std::uint32_t MSG_SET_COM_PORT = 32773;
constexpr std::uint32_t MSG_DASH_DATA = 32774;
constexpr std::uint32_t MSG_AUTOCORR_STEP = 32775;
constexpr std::uint32_t MSG_SMOOTHING_STEP = 32776;

struct TMessage {
    std::uint32_t Msg;
};

struct TMsgLogStart : TMessage {
    std::int32_t SensorType = -1;
    TMsgLogStart() : TMessage{MSG_LOG_START} {}
    explicit TMsgLogStart(std::int32_t sensorType) : TMessage{MSG_LOG_START}, SensorType(sensorType) {}
};

struct TMsgLogStop : TMessage {
    TMsgLogStop() : TMessage{MSG_LOG_STOP} {}
};

struct TMsgSetComPort : TMessage {
    std::string PortName;
    explicit TMsgSetComPort(std::string portName)
        : TMessage{MSG_SET_COM_PORT}, PortName(std::move(portName)) {}
};

struct TMsgDashData : TMessage {
    std::int32_t ConverterOut = 0;
    std::int32_t MafIn = 0;
    std::int32_t TpsRaw = 0;
    std::int32_t MarkerValue = 0;
    std::string TpsText;
    std::int32_t Rpm = 0;
    std::int32_t O2Raw = 0;
    std::string O2Text;
    std::int32_t O2Colour = 0; // 0x00BBGGRR
    std::int32_t O2Level = 0;
    TMsgDashData() : TMessage{MSG_DASH_DATA} {}
};

struct TMsgAutocorrStep : TMessage {
    std::int32_t WindowStart = 0;
    std::int32_t WindowEnd = 0;
    std::int32_t CorrectionStep = 0;
    bool ApplyNow = false;
    std::int32_t StateColour = 0; // 0x00BBGGRR
    bool ResetCorrection = false;
    TMsgAutocorrStep() : TMessage{MSG_AUTOCORR_STEP} {}
};

// The NewSmoothing of a smoothing step that changes nothing.
constexpr std::int32_t kNoSmoothingChange = 255;

struct TMsgSmoothingStep : TMessage {
    std::int32_t NewSmoothing = kNoSmoothingChange; // 1..20, or no change
    TMsgSmoothingStep() : TMessage{MSG_SMOOTHING_STEP} {}
    explicit TMsgSmoothingStep(std::int32_t newSmoothing)
        : TMessage{MSG_SMOOTHING_STEP}, NewSmoothing(newSmoothing) {}
};

#include "cw/WinKeyProtocol.h"

namespace tenlog::cw::winkey {

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int value : values)
        out.append(char(quint8(value)));
    return out;
}

} // namespace

QByteArray resync() { return bytes({0x13, 0x13, 0x13}); }
QByteArray hostOpen() { return bytes({0x00, 0x02}); }
QByteArray hostClose() { return bytes({0x00, 0x03}); }
QByteArray echoTest(quint8 probe) { return bytes({0x00, 0x04, probe}); }
QByteArray speed(quint8 wpm) { return bytes({0x02, wpm}); }
QByteArray weighting(quint8 weight) { return bytes({0x03, weight}); }
QByteArray pttLeadTail(quint8 leadIn, quint8 tail) { return bytes({0x04, leadIn, tail}); }
QByteArray pinConfiguration(quint8 value) { return bytes({0x09, value}); }
QByteArray modeRegister(quint8 value) { return bytes({0x0E, value}); }
QByteArray ditDahRatio(quint8 ratio) { return bytes({0x17, ratio}); }
QByteArray clearBuffer() { return bytes({0x0A}); }
QByteArray backspace() { return bytes({0x08}); }
QByteArray statusRequest() { return bytes({0x15}); }

KeyerByte classify(quint8 byte)
{
    KeyerByte out;
    if ((byte & 0xC0) == 0xC0) {
        if (byte & 0x08) {
            out.kind = KeyerByte::Kind::Pushbutton;
            out.value = byte & 0x07;
            return out;
        }
        out.kind = KeyerByte::Kind::Status;
        out.status.wait = byte & 0x10;
        out.status.busy = byte & 0x04;
        out.status.breakIn = byte & 0x02;
        out.status.xoff = byte & 0x01;
        return out;
    }
    if ((byte & 0xC0) == 0x80) {
        out.kind = KeyerByte::Kind::SpeedPot;
        out.value = byte & 0x3F;
        return out;
    }
    out.value = byte;
    return out;
}

QList<KeyerByte> classifyAll(const QByteArray& bytes)
{
    QList<KeyerByte> out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out.append(classify(quint8(c)));
    return out;
}

} // namespace tenlog::cw::winkey

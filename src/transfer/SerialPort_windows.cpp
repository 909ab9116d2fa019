#include "NativeSerialPort.h"
#include "config/WindowsText.h"

#include <algorithm>
#include <mutex>
#include <windows.h>

namespace kym {
namespace {

// A port another program holds is refused as access denied: the rights on a COM port let every
// user open it.
struct FailureKind {
    DWORD error;
    OpenFailure kind;
};
constexpr FailureKind kOpenFailures[] = {
    {ERROR_FILE_NOT_FOUND, OpenFailure::NotFound},
    {ERROR_PATH_NOT_FOUND, OpenFailure::NotFound},
    {ERROR_INVALID_NAME, OpenFailure::NotFound},
    {ERROR_BAD_UNIT, OpenFailure::NotFound},
    {ERROR_ACCESS_DENIED, OpenFailure::Busy},
    {ERROR_SHARING_VIOLATION, OpenFailure::Busy},
    {ERROR_BUSY, OpenFailure::Busy},
    {ERROR_PRIVILEGE_NOT_HELD, OpenFailure::PermissionDenied},
};

OpenFailure openFailureOf(DWORD error) {
    const auto* found = std::ranges::find(kOpenFailures, error, &FailureKind::error);
    return found == std::end(kOpenFailures) ? OpenFailure::Other : found->kind;
}

// COM1 to COM9 open by name too; \\.\ reaches every COM number and is harmless on the others.
std::wstring devicePath(const std::string& location) {
    if (location.size() > 3 && location.compare(0, 3, "COM") == 0)
        return L"\\\\.\\" + wideFromUtf8(location);
    return wideFromUtf8(location);
}

BYTE parityOf(char letter) {
    switch (letter) {
    case 'E':
        return EVENPARITY;
    case 'O':
        return ODDPARITY;
    case 'M':
        return MARKPARITY;
    case 'S':
        return SPACEPARITY;
    default:
        return NOPARITY;
    }
}

// The handle is overlapped so that a read waiting on one thread does not hold up a write from
// another; each call still waits for its own result.
class WindowsSerialPort : public NativeSerialPort {
public:
    ~WindowsSerialPort() override { close(); }

    std::optional<SerialOpenError> open(const std::string& location,
                                        const LineSettings& line) override {
        close();
        HANDLE handle = CreateFileW(devicePath(location).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            return SerialOpenError{openFailureOf(error), systemText(error)};
        }
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        bool set = GetCommState(handle, &dcb);
        dcb.BaudRate = static_cast<DWORD>(line.baudRate);
        dcb.ByteSize = static_cast<BYTE>(line.dataBits);
        dcb.Parity = parityOf(line.parity);
        dcb.StopBits = line.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = line.parity != 'N';
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fNull = FALSE;
        dcb.fAbortOnError = FALSE;
        set = set && SetCommState(handle, &dcb) &&
              PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
        if (!set) {
            const DWORD error = GetLastError();
            CloseHandle(handle);
            return SerialOpenError{OpenFailure::Other, systemText(error)};
        }
        const std::scoped_lock lock(mutex_);
        handle_ = handle;
        wait_ = std::chrono::milliseconds(-1);
        return std::nullopt;
    }

    void close() override {
        const std::scoped_lock lock(mutex_);
        if (handle_ == INVALID_HANDLE_VALUE)
            return;
        CancelIoEx(handle_, nullptr);
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

    bool isOpen() const override {
        const std::scoped_lock lock(mutex_);
        return handle_ != INVALID_HANDLE_VALUE;
    }

    Result<void> write(std::span<const std::uint8_t> bytes) override {
        const HANDLE handle = current();
        DWORD written = 0;
        if (!transfer(
                handle,
                [&](OVERLAPPED* overlapped) {
                    return WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()),
                                     nullptr, overlapped);
                },
                written) ||
            written != bytes.size())
            return Error{systemText(GetLastError())};
        return {};
    }

    // The first byte may take the whole wait; once bytes flow, a pause of a few milliseconds
    // ends the read.
    Result<std::vector<std::uint8_t>> read(std::chrono::milliseconds wait) override {
        const HANDLE handle = current();
        if (wait != wait_) {
            COMMTIMEOUTS timeouts{};
            timeouts.ReadIntervalTimeout = wait.count() > 0 ? 10 : MAXDWORD;
            timeouts.ReadTotalTimeoutConstant =
                static_cast<DWORD>(std::max<long long>(wait.count(), 0));
            timeouts.WriteTotalTimeoutConstant = 2000;
            if (!SetCommTimeouts(handle, &timeouts))
                return Error{systemText(GetLastError())};
            wait_ = wait;
        }
        std::vector<std::uint8_t> bytes(256);
        DWORD received = 0;
        if (!transfer(
                handle,
                [&](OVERLAPPED* overlapped) {
                    return ReadFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), nullptr,
                                    overlapped);
                },
                received)) {
            // Wine ends an overlapped read that timed out with an error rather than short.
            const DWORD error = GetLastError();
            if (error != WAIT_TIMEOUT && error != ERROR_TIMEOUT && error != ERROR_SEM_TIMEOUT)
                return Error{systemText(error)};
            received = 0;
        }
        bytes.resize(received);
        return bytes;
    }

    void discardReceived() override { PurgeComm(current(), PURGE_RXCLEAR); }

private:
    HANDLE current() const {
        const std::scoped_lock lock(mutex_);
        return handle_;
    }

    template <class Start> static bool transfer(HANDLE handle, Start start, DWORD& count) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (!overlapped.hEvent)
            return false;
        const bool done = (start(&overlapped) || GetLastError() == ERROR_IO_PENDING) &&
                          GetOverlappedResult(handle, &overlapped, &count, TRUE);
        const DWORD error = GetLastError();
        CloseHandle(overlapped.hEvent);
        SetLastError(error);
        return done;
    }

    mutable std::mutex mutex_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::chrono::milliseconds wait_{-1};
};

} // namespace

std::unique_ptr<NativeSerialPort> makeNativeSerialPort() {
    return std::make_unique<WindowsSerialPort>();
}

// The serial drivers list their ports here (value: device, data: COM name).
std::vector<std::string> nativeSerialPortNames() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; ++index) {
        wchar_t value[256];
        DWORD valueLength = std::size(value);
        wchar_t data[256];
        DWORD dataSize = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LSTATUS status = RegEnumValueW(key, index, value, &valueLength, nullptr, &type,
                                             reinterpret_cast<BYTE*>(data), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            continue;
        std::wstring_view name(data, dataSize / sizeof(wchar_t));
        while (!name.empty() && name.back() == L'\0')
            name.remove_suffix(1);
        names.push_back(utf8FromWide(name));
    }
    RegCloseKey(key);
    std::ranges::sort(names, [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return names;
}

} // namespace kym

#pragma once

#include "printer/Deadline.h"
#include "printer/PrinterTarget.h"

#include <optional>
#include <string>
#include <string_view>

// A connection to the docket printer for one print job or one test, all of
// it done by one deadline. Every failure leaves a one-line description in
// fault(). A print queue takes the whole job at finish(); the other targets
// are written as the bytes come.
class PrinterConnection {
  public:
    PrinterConnection(std::string dataDir, const Deadline& deadline);
    ~PrinterConnection();
    PrinterConnection(const PrinterConnection&) = delete;
    PrinterConnection& operator=(const PrinterConnection&) = delete;

    bool open(const PrinterTarget& target);
    bool write(std::string_view bytes);
    // Whether the printer can answer status requests (a device or network printer).
    bool canAnswer() const;
    // Sends a request and waits at most waitMs for the one-byte answer.
    std::optional<unsigned char> ask(std::string_view request, int waitMs);
    // Hands the job over and closes; false when the printer did not take it.
    bool finish();

    const std::string& fault() const { return m_fault; }

  private:
    // Waits until the device or the printer's end of the connection has taken
    // every byte written; a printer that accepted the connection but takes
    // no data fails here instead of counting as printed.
    bool delivered();
    bool openDevice(const std::string& path);
    bool openNetwork();
    bool openFile();
    // 0 when connected, else why not (ETIMEDOUT at the deadline).
    int connectTo(const struct addrinfo& address);
    bool fail(std::string fault);
    void closeFd();

    std::string m_dataDir;
    const Deadline& m_deadline;
    PrinterTarget m_target;
    int m_fd = -1;
    bool m_readable = false;
    std::string m_queued;
    std::string m_fault;
};

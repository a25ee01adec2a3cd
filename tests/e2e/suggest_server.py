#!/usr/bin/env python3
"""A small suggestion source for the tests, on 127.0.0.1 only.

    suggest_server.py PORT_FILE [--mode rows|garbage|big|status] [--delay SECONDS]
                      [--term TERM] [--row TEXT ...] [--status CODE]
                      [--log FILE] [--elsewhere-log FILE] [--lifetime SECONDS]

Binds a port the system picks and writes it to PORT_FILE once it listens.
Every GET with the query parameter q is one request for the term q; the mode
says how it is answered:
  rows     ["q", [rows...]]: the --row texts when q is a --term (there may
           be several; or when no --term is given), an empty list for any other
  garbage  a body that is no JSON
  big      a well-formed answer of more than 64 KB
  status   an empty body with the status --status (default 500)
A path of /rows, /garbage, /big, /status/CODE or /slow/SECONDS (rows, that
late) chooses the mode for that request, so that one server can answer every
way; /big/stream sends the big answer without a length, ending it by closing
the connection; /drip sends the rows answer's headers at once and its body one
byte a second. --delay waits that long before answering. --log appends each
term asked for, one a line (UTF-8).
/redirect/WHERE answers 302 with the same query, to /rows on: "same" (a
relative Location), "absolute" (this address in full), "loop" (/redirect/loop
again), and with --elsewhere-log to "host" (127.0.0.2, this port) or "port"
(127.0.0.1, another port). The server listens on those two as well then, and
records each request that reaches them in that file ("HOST:PORT PATH").
The server ends by itself after --lifetime seconds (default 120).
"""

import argparse
import http.server
import json
import os
import threading
import time
import urllib.parse


def parse_arguments():
    parser = argparse.ArgumentParser(description="Suggestion source for tests")
    parser.add_argument("port_file")
    parser.add_argument("--mode", choices=["rows", "garbage", "big", "status"], default="rows")
    parser.add_argument("--delay", type=float, default=0.0)
    parser.add_argument("--term", action="append")
    parser.add_argument("--row", action="append", default=[])
    parser.add_argument("--status", type=int, default=500)
    parser.add_argument("--log")
    parser.add_argument("--elsewhere-log")
    parser.add_argument("--lifetime", type=float, default=120.0)
    return parser.parse_args()


def make_handler(options, log_lock, addresses):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"
        # Headers and body leave at once, not 40 ms apart (Nagle and delayed
        # ACK on a kept-alive connection).
        disable_nagle_algorithm = True

        def log_message(self, *args):  # quiet: the tests read --log instead
            pass

        def do_GET(self):
            url = urllib.parse.urlsplit(self.path)
            term = urllib.parse.parse_qs(url.query, keep_blank_values=True).get("q", [""])[0]
            host, port = self.server.server_address[:2]
            # Another address answers like this one, and writes down what reached it.
            if (host, port) != ("127.0.0.1", addresses["port"]):
                with log_lock, open(options.elsewhere_log, "a", encoding="utf-8") as log:
                    log.write("%s:%d %s\n" % (host, port, self.path))
            if options.log:
                with log_lock, open(options.log, "a", encoding="utf-8") as log:
                    log.write(term + "\n")
            mode, status, delay = options.mode, options.status, options.delay
            parts = [p for p in url.path.split("/") if p] + [""]
            if parts[0] == "redirect":
                return self.redirect(parts[1], url.query)
            if parts[0] in ("rows", "garbage", "big", "status"):
                mode = parts[0]
            if mode == "status" and parts[1].isdigit():
                status = int(parts[1])
            if parts[0] == "slow":
                mode, delay = "rows", float(parts[1] or 5)
            if delay > 0:
                time.sleep(delay)
            if parts[0] == "drip":
                return self.answer(*self.body_for("rows", status, term), with_length=True, drip=True)
            self.answer(*self.body_for(mode, status, term), with_length=parts[1] != "stream")

        def redirect(self, where, query):
            here = "http://127.0.0.1:%d" % addresses["port"]
            targets = {"same": "/rows", "absolute": here + "/rows", "loop": "/redirect/loop"}
            if "elsewhere" in addresses:
                targets["host"] = "http://127.0.0.2:%d/rows" % addresses["port"]
                targets["port"] = "http://127.0.0.1:%d/rows" % addresses["elsewhere"]
            if where not in targets:
                return self.answer(404, b"", with_length=True)
            self.send_response(302)
            self.send_header("Location", targets[where] + "?" + query)
            self.send_header("Content-Length", "0")
            self.end_headers()

        def body_for(self, mode, status, term):
            if mode == "garbage":
                return 200, b"<html><body>Kein JSON {[\"\x00\xff</body>"
            if mode == "big":
                rows = ["vorschlag %05d" % i for i in range(6000)]
                return 200, json.dumps([term, rows]).encode("utf-8")
            if mode == "status":
                return status, b""
            rows = options.row if not options.term or term in options.term else []
            return 200, json.dumps([term, rows], ensure_ascii=False).encode("utf-8")

        def answer(self, status, body, with_length, drip=False):
            try:
                self.send_response(status)
                self.send_header("Content-Type", "application/x-suggestions+json; charset=utf-8")
                if with_length:
                    self.send_header("Content-Length", str(len(body)))
                else:
                    self.send_header("Connection", "close")
                    self.close_connection = True
                self.end_headers()
                if not drip:
                    self.wfile.write(body)
                    return
                for byte in body:
                    self.wfile.write(bytes([byte]))
                    time.sleep(1)
            except (BrokenPipeError, ConnectionResetError):
                pass  # the client gave up (a time-out): nothing to do

    return Handler


def main():
    options = parse_arguments()
    log_lock = threading.Lock()
    addresses = {}
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), make_handler(options, log_lock, addresses))
    server.daemon_threads = True
    addresses["port"] = server.server_address[1]
    servers = [server]
    if options.elsewhere_log:
        for address in (("127.0.0.2", addresses["port"]), ("127.0.0.1", 0)):
            servers.append(http.server.ThreadingHTTPServer(address, make_handler(options, log_lock, addresses)))
            servers[-1].daemon_threads = True
        addresses["elsewhere"] = servers[-1].server_address[1]
        for other in servers[1:]:
            threading.Thread(target=other.serve_forever, daemon=True).start()
    # Written whole or not at all, so a reader never sees half a number.
    temporary = options.port_file + ".tmp"
    with open(temporary, "w") as port_file:
        port_file.write("%d\n" % addresses["port"])
    os.replace(temporary, options.port_file)

    def end():
        for each in servers:
            each.shutdown()

    threading.Timer(options.lifetime, end).start()
    server.serve_forever()
    for each in servers:
        each.server_close()


if __name__ == "__main__":
    main()

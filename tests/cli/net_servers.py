#!/usr/bin/env python3
"""Network serial servers for the command line's table, on 127.0.0.1 only.
  net_servers.py portmanager PORT DEVICE     python3-serial's PortManager, the line left at
                                             19200 baud, 2 stop bits, XON/XOFF until asked
  net_servers.py telnet MODE PORT DEVICE     a small RFC 2217 server that behaves as MODE says:
                                             no-comport, endless-sub (DEVICE -), text, suspend,
                                             late, banner, busy
  net_servers.py relay PORT TARGET DELAY_MS  a relay to TARGET with DELAY_MS of round trip"""
import os, queue, select, socket, sys, termios, threading, time, tty

IAC, SB, SE, WILL, WONT, DO, DONT = 255, 250, 240, 251, 252, 253, 254
BINARY, COM_PORT, CR, LF = 0, 44, 13, 10


def listen(port):
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", port))
    server.listen(4)
    return server


def open_line(device):  # 9600 8N1 raw, as the device's own server would set it
    fd = os.open(device, os.O_RDWR | os.O_NOCTTY)
    tty.setraw(fd)
    attrs = termios.tcgetattr(fd)
    attrs[2] = (attrs[2] & ~(termios.CSTOPB | termios.PARENB | termios.CRTSCTS)) | termios.CS8
    attrs[4] = attrs[5] = termios.B9600
    termios.tcsetattr(fd, termios.TCSANOW, attrs)
    return fd


def telnet(mode, port, device):
    server = listen(port)
    while True:
        conn, _ = server.accept()
        fd = open_line(device) if device != "-" else None
        try:
            serve(mode, conn, fd)
        except OSError:
            pass
        conn.close()
        if fd is not None:
            os.close(fd)


def serve(mode, conn, fd):
    send = conn.sendall
    if mode == "busy":  # as ser2net answers while another client holds the device
        send(b"Port's device already in use\r\n")
        return
    if mode == "banner":
        send(b"\r\nterminal server ready\r\n\r\n")
    if mode == "endless-sub":
        send(bytes([IAC, SB, COM_PORT]))
        while True:
            send(b"x" * 65536)
    state, sub, after_cr = "data", bytearray(), False
    while True:
        ready, _, _ = select.select([conn, fd], [], [])
        if fd in ready:
            out = os.read(fd, 1024).replace(b"\xff", b"\xff\xff")
            send(out.replace(b"\r", b"\r\0") if mode == "text" else out)
        if conn not in ready:
            continue
        chunk = conn.recv(1024)
        if not chunk:
            return
        data = bytearray()
        for byte in chunk:
            if state == "data":
                if byte == IAC:
                    state = "command"
                elif mode == "text" and after_cr and byte in (0, LF):
                    data[-1:] = bytes([byte or CR])  # CR NUL is CR, CR LF a newline
                    after_cr = False
                else:
                    data.append(byte)
                    after_cr = byte == CR
            elif state == "command":
                state = {IAC: "data", SB: "sub"}.get(byte, "option")
                verb = byte
                if byte == IAC:
                    data.append(IAC)
                sub.clear()
            elif state == "option":
                state = "data"
                answer(mode, send, verb, byte)
            elif state == "sub":
                state = "sub-iac" if byte == IAC else "sub"
                if byte != IAC:
                    sub.append(byte)
            else:
                state = "data" if byte == SE else "sub"
                if byte == SE:
                    confirm(mode, send, bytes(sub))
                else:
                    sub.append(byte)
        os.write(fd, data)


def answer(mode, send, verb, option):
    if option == COM_PORT and verb == WILL:
        send(bytes([IAC, WILL if mode == "no-comport" else DO, COM_PORT]))
    elif verb in (WILL, DO):
        agree = not (mode == "text" and option == BINARY)
        send(bytes([IAC, (DO if agree else DONT) if verb == WILL else (WILL if agree else WONT), option]))


def confirm(mode, send, sub):
    if len(sub) < 2 or sub[0] != COM_PORT or sub[1] > 4:
        return
    if mode == "late":
        time.sleep(0.5)
    send(bytes([IAC, SB, COM_PORT, sub[1] + 100]) + sub[2:] + bytes([IAC, SE]))
    if mode == "suspend" and sub[1] == 4:  # after the last setting: hold the client a while
        send(bytes([IAC, SB, COM_PORT, 108, IAC, SE]))
        threading.Timer(0.5, send, [bytes([IAC, SB, COM_PORT, 109, IAC, SE])]).start()


def portmanager(port, device):
    import serial, serial.rfc2217

    server = listen(port)
    while True:
        conn, _ = server.accept()
        line = serial.Serial(device, 19200, stopbits=2, xonxoff=True, timeout=0)
        manager = serial.rfc2217.PortManager(line, type("Conn", (), {"write": staticmethod(conn.sendall)}))
        manager.check_modem_lines = lambda force_notification=False: None  # a pty has none
        while True:
            ready, _, _ = select.select([conn, line.fileno()], [], [])
            if line.fileno() in ready:
                conn.sendall(b"".join(manager.escape(line.read(1024))))
            if conn in ready:
                chunk = conn.recv(1024)
                if not chunk:
                    break
                line.write(b"".join(manager.filter(chunk)))
        conn.close()
        line.close()


def relay(port, target, delay_ms):
    server = listen(port)
    while True:
        near, _ = server.accept()
        far = socket.create_connection(("127.0.0.1", target))
        for source, sink in ((near, far), (far, near)):
            chunks = queue.Queue()
            threading.Thread(target=take, args=(source, chunks, delay_ms / 2000), daemon=True).start()
            threading.Thread(target=give, args=(sink, chunks), daemon=True).start()


def take(source, chunks, delay):
    while True:
        chunk = source.recv(4096)
        chunks.put((time.monotonic() + delay, chunk))
        if not chunk:
            return


def give(sink, chunks):
    while True:
        due, chunk = chunks.get()
        time.sleep(max(0, due - time.monotonic()))
        if not chunk:
            sink.shutdown(socket.SHUT_WR)
            return
        sink.sendall(chunk)


if __name__ == "__main__":
    kind, args = sys.argv[1], sys.argv[2:]
    if kind == "telnet":
        telnet(args[0], int(args[1]), args[2])
    elif kind == "portmanager":
        portmanager(int(args[0]), args[1])
    else:
        relay(int(args[0]), int(args[1]), int(args[2]))

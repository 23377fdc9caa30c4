#!/usr/bin/env python3
# Makes the echo_reply seeds (fuzz/corpus/echo_reply/): echo replies and ICMP
# errors as the kernel hands them to the raw and the datagram ICMP socket,
# each with the request it answers, in the target's input layout. Run as
# root: it makes two private network namespaces and removes them again.
#   usage: capture_echo_seeds.py fuzz/corpus/echo_reply
# The namespaces:
#   fzA (192.0.2.2) --veth-- fzB (192.0.2.1, a router)
# fzB answers pings, refuses 198.51.100.0/24 (unreachable route) and
# forwards 203.0.113.0/24 on-link (a TTL of 1 expires there).
import os, socket, struct, sys, time, subprocess

OUT = None

def sh(*a): subprocess.run(a, check=True)

def setup():
    teardown()
    sh("ip", "netns", "add", "fzA"); sh("ip", "netns", "add", "fzB")
    sh("ip", "link", "add", "fza0", "netns", "fzA", "type", "veth", "peer", "fzb0", "netns", "fzB")
    for ns, dev, addr in (("fzA", "fza0", "192.0.2.2/24"), ("fzB", "fzb0", "192.0.2.1/24")):
        sh("ip", "-n", ns, "addr", "add", addr, "dev", dev)
        sh("ip", "-n", ns, "link", "set", dev, "up"); sh("ip", "-n", ns, "link", "set", "lo", "up")
    sh("ip", "-n", "fzA", "route", "add", "default", "via", "192.0.2.1")
    sh("ip", "netns", "exec", "fzB", "sysctl", "-qw", "net.ipv4.ip_forward=1")
    sh("ip", "-n", "fzB", "route", "add", "unreachable", "198.51.100.0/24")
    sh("ip", "-n", "fzB", "route", "add", "203.0.113.0/24", "dev", "fzb0")
    sh("ip", "netns", "exec", "fzA", "sysctl", "-qw", "net.ipv4.ping_group_range=0 0")

def checksum(b):
    if len(b) % 2: b += b"\0"
    s = sum(struct.unpack("<%dH" % (len(b) // 2), b))
    s = (s >> 16) + (s & 0xFFFF); s += s >> 16
    return struct.pack("<H", ~s & 0xFFFF)

def probe_request(ident, seq, data=32):  # CEchoProbe: low byte first, 'E' fill
    m = bytearray(struct.pack("<BBHHHI", 8, 0, 0, ident, seq, int(time.monotonic() * 1000) & 0xFFFFFFFF))
    m += b"E" * data
    m[2:4] = checksum(bytes(m)); return bytes(m)

def ravelin_request(ident, seq, data=56):  # EchoChannel: network order, stamp, counting bytes
    m = bytearray(struct.pack("!BBHHH", 8, 0, 0, ident, seq))
    stamp = int(time.monotonic() * 1e6)
    m += bytes((stamp >> (8 * (7 - i))) & 0xFF if i < 8 else i & 0xFF for i in range(data))
    m[2:4] = checksum(bytes(m)); return bytes(m)

def seed(name, datagram_kind, dest, source, kernel_id, request, received):
    head = bytes([1 if datagram_kind else 0]) + socket.inet_aton(dest) + socket.inet_aton(source)
    head += struct.pack("!HH", kernel_id, len(request))
    with open(os.path.join(OUT, name), "wb") as f: f.write(head + request + received)
    print(name, len(received))

def raw_exchange(name, dest, request, ttl=None):
    s = socket.socket(socket.AF_INET, socket.SOCK_RAW, socket.IPPROTO_ICMP); s.settimeout(1)
    if ttl: s.setsockopt(socket.IPPROTO_IP, socket.IP_TTL, ttl)
    s.sendto(request, (dest, 0))
    data, (src, _) = s.recvfrom(2048)
    seed(name, False, dest, src, 0, request, data)

IP_RECVERR = 11
def datagram_exchange(name, dest, make_request, ttl=None, errors=False):
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM, socket.IPPROTO_ICMP); s.settimeout(1)
    s.bind(("0.0.0.0", 0)); kernel_id = s.getsockname()[1]
    if ttl: s.setsockopt(socket.IPPROTO_IP, socket.IP_TTL, ttl)
    if errors: s.setsockopt(socket.IPPROTO_IP, IP_RECVERR, 1)
    request = make_request(kernel_id)
    s.sendto(request, (dest, 0))
    if not errors:
        data, (src, _) = s.recvfrom(2048)
        seed(name, True, dest, src, kernel_id, request, data); return
    time.sleep(0.5)
    quoted, anc, _, (to, _) = s.recvmsg(2048, 512, socket.MSG_ERRQUEUE)
    ee = next(d for lvl, typ, d in anc if lvl == socket.IPPROTO_IP and typ == IP_RECVERR)
    _, origin, etype, code, _, info, _ = struct.unpack("=IBBBBII", ee[:16])
    offender = socket.inet_ntoa(ee[16 + 4:16 + 8])
    # Laid out as IcmpSocket::ReceiveError does: outer header from the router,
    # the error's header, the quoted header to the destination, the message.
    def header(total, ttl, src, dst=b"\0\0\0\0"):
        return struct.pack("!BBHHHBBH", 0x45, 0, total, 0, 0, ttl, 1, 0) + src + dst
    error = bytearray(8); error[0] = etype; error[1] = code
    if etype == 3 and code == 4: error[6:8] = struct.pack("!H", info & 0xFFFF)
    if etype == 12: error[4] = info & 0xFF
    inner = header(20 + len(quoted), 0, b"\0\0\0\0", socket.inet_aton(to))
    outer = header(20 + 8 + 20 + len(quoted), 64, socket.inet_aton(offender))
    seed(name, False, dest, offender, kernel_id, request, outer + bytes(error) + inner + quoted)

def capture():
    own = 0x3039
    raw_exchange("raw-probe-reply", "192.0.2.1", probe_request(own, 0x8A21))
    # On loopback the raw socket first reads its own request back.
    raw_exchange("raw-own-request-loopback", "127.0.0.1", probe_request(own, 0x8A22))
    raw_exchange("raw-ravelin-reply", "192.0.2.1", ravelin_request(0xC0DE, 3))
    raw_exchange("raw-unreachable", "198.51.100.7", ravelin_request(0xC0DE, 4))
    raw_exchange("raw-time-exceeded", "203.0.113.9", probe_request(own, 0x8A23), ttl=1)
    datagram_exchange("dgram-probe-reply", "192.0.2.1", lambda k: probe_request(own, 0x8A24))
    datagram_exchange("dgram-ravelin-reply", "192.0.2.1", lambda k: ravelin_request(k, 5))
    datagram_exchange("dgram-queued-unreachable", "198.51.100.7", lambda k: ravelin_request(k, 6), errors=True)
    time.sleep(1)  # the router's ICMP rate limit
    datagram_exchange("dgram-queued-time-exceeded", "203.0.113.9", lambda k: ravelin_request(k, 7), ttl=1, errors=True)

def teardown():
    for ns in ("fzA", "fzB"): subprocess.run(["ip", "netns", "del", ns], stderr=subprocess.DEVNULL)

if len(sys.argv) > 2 and sys.argv[1] == "capture":
    OUT = sys.argv[2]
    capture()
else:
    setup()
    try:
        subprocess.run(["ip", "netns", "exec", "fzA", sys.executable, os.path.abspath(__file__),
                        "capture", os.path.abspath(sys.argv[1])], check=True)
    finally:
        teardown()

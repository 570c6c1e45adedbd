# SPDX-License-Identifier: MIT
"""A shared folder seen from two machines, on this one: sshd on 127.0.0.1 and
two sshfs mounts of one directory.

``SharedFolder`` makes a scratch directory holding its own host key, client
key, authorized_keys and sshd_config, starts ``sshd`` on a free port of
127.0.0.1 (nothing else listens anywhere), and mounts the directory
``shared`` through it twice with sshfs, at ``mounts[0]`` and ``mounts[1]``.
Each mount is its own sftp session with its own caches, as two machines
mounting one file server would be; sshfs keeps its default attribute and
directory caching, so a change made through one mount shows through the
other only as late as a real network file system may show it. ``shared``
is the server's own view of the directory.

Used as a context manager it unmounts (fusermount -u, lazily if busy) and
stops exactly the processes it started, also when the block fails, and then
removes the scratch directory. ``start`` raises unittest.SkipTest, saying
why, where sshd, sshfs or FUSE is missing or the kernel refuses the mount.

As root, sshd needs its privilege-separation directory /run/sshd, which
Debian's service normally creates at boot; it is created (empty, 0755) when
missing and left there.

By hand, to try a program on the mounts:

    /usr/bin/python3 -B netfs.py     # prints the paths, holds until Enter
"""

import ctypes
import os
import pwd
import re
import shutil
import signal
import socket
import subprocess
import tempfile
import time
import unittest

SSHD_CANDIDATES = ("/usr/sbin/sshd", "/usr/local/sbin/sshd")
# Seconds; every step is bounded, so a broken server cannot hang a test.
START_TIMEOUT = 15.0
STOP_TIMEOUT = 5.0


def _which(name, extra=()):
    found = shutil.which(name)
    if found:
        return found
    for path in extra:
        if os.access(path, os.X_OK):
            return path
    return None


def _mounted(path):
    """Whether path is a mount point, from /proc/self/mountinfo (a stat of a
    dead FUSE mount could block)."""
    path = os.path.realpath(path)
    with open("/proc/self/mountinfo") as f:
        for line in f:
            point = line.split()[4]
            # Spaces and the like are written as octal escapes (\040).
            point = re.sub(r"\\([0-7]{3})", lambda m: chr(int(m.group(1), 8)), point)
            if point == path:
                return True
    return False


def _free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def _children(pid):
    """The ids of the processes whose parent is pid."""
    found = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as f:
                    # The parent's id is the second field after the name,
                    # which is in parentheses and may hold spaces.
                    if int(f.read().rsplit(")", 1)[1].split()[1]) == pid:
                        found.append(int(entry))
            except (OSError, IndexError, ValueError):
                pass
    return found


def _die_with_parent():
    """In a child before it runs its program: SIGTERM for it when the test
    that started it dies, even by SIGKILL (a test runner's time-out), so that
    no sshd stays listening and sshfs unmounts on its own."""
    libc = ctypes.CDLL(None, use_errno=True)
    PR_SET_PDEATHSIG = 1
    libc.prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def _stop(process, grace=STOP_TIMEOUT):
    """Ends one process started here and reaps it."""
    if process is None or process.poll() is not None:
        return
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(grace)


class SharedFolder:
    """sshd on 127.0.0.1 and `count` sshfs mounts of one directory."""

    def __init__(self, count=2):
        self.count = count
        self.root = None
        self.shared = None
        self.mounts = []
        self.port = None
        self.user = pwd.getpwuid(os.getuid()).pw_name
        self._sshd = None
        self._sshfs = []

    # -- lifetime --------------------------------------------------------

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def start(self):
        tools = {"sshd": _which("sshd", SSHD_CANDIDATES), "sshfs": _which("sshfs"),
                 "ssh": _which("ssh"), "ssh-keygen": _which("ssh-keygen"),
                 "fusermount": _which("fusermount3") or _which("fusermount")}
        missing = sorted(name for name, path in tools.items() if path is None)
        if missing:
            raise unittest.SkipTest("a shared folder needs %s (Debian: openssh-server, sshfs)"
                                    % ", ".join(missing))
        if not os.path.exists("/dev/fuse"):
            raise unittest.SkipTest("no /dev/fuse: FUSE is not available here, so sshfs "
                                    "cannot mount")
        self._tools = tools
        self.root = tempfile.mkdtemp(prefix="velmora-netfs-")
        self.shared = os.path.join(self.root, "shared")
        os.mkdir(self.shared)
        self._make_keys()
        self._start_sshd()
        self._check_login()
        for i in range(self.count):
            self.mounts.append(self._mount(os.path.join(self.root, "mnt%d" % (i + 1))))
        self._check_mounts()

    def stop(self):
        """Unmounts, stops sshfs and sshd, removes the scratch directory. Safe
        to call more than once and after a failed start."""
        for point, process in zip(self.mounts, self._sshfs):
            self._unmount(point, process)
        self._sshfs = []
        if self._sshd is not None:
            # Its per-connection processes end once sshfs has gone; stopping
            # the server first would leave them to whatever adopts orphans.
            deadline = time.monotonic() + STOP_TIMEOUT
            while _children(self._sshd.pid) and time.monotonic() < deadline:
                time.sleep(0.05)
        _stop(self._sshd)
        self._sshd = None
        if self.root:
            stuck = [p for p in self.mounts if _mounted(p)]
            if stuck:
                # Never delete through a mount that is still there.
                raise RuntimeError("could not unmount %s; left %s in place"
                                   % (", ".join(stuck), self.root))
            shutil.rmtree(self.root, ignore_errors=True)
            self.root = None
        self.mounts = []

    # -- the server ------------------------------------------------------

    def path(self, *names):
        return os.path.join(self.root, *names)

    def _keygen(self, name):
        subprocess.run([self._tools["ssh-keygen"], "-q", "-t", "ed25519", "-N", "", "-C",
                        "velmora-netfs", "-f", self.path(name)],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=20)

    def _make_keys(self):
        self._keygen("host_key")
        self._keygen("client_key")
        shutil.copyfile(self.path("client_key.pub"), self.path("authorized_keys"))
        os.chmod(self.path("authorized_keys"), 0o600)

    def _config(self, port):
        lines = [
            "ListenAddress 127.0.0.1:%d" % port,
            "HostKey %s" % self.path("host_key"),
            "PidFile none",
            "AuthorizedKeysFile %s" % self.path("authorized_keys"),
            "AllowUsers %s" % self.user,
            # Keys only; no PAM, no passwords, nothing but the file service.
            "PubkeyAuthentication yes",
            "PasswordAuthentication no",
            "KbdInteractiveAuthentication no",
            "UsePAM no",
            "PermitRootLogin prohibit-password",
            # The scratch directory lives under /tmp, which is world-writable.
            "StrictModes no",
            "Subsystem sftp internal-sftp",
            "PermitTTY no",
            "X11Forwarding no",
            "AllowTcpForwarding no",
            "AllowAgentForwarding no",
            "PermitTunnel no",
            "PrintMotd no",
            "ClientAliveInterval 5",
            "LogLevel VERBOSE",
        ]
        path = self.path("sshd_config")
        with open(path, "w") as f:
            f.write("\n".join(lines) + "\n")
        return path

    def _start_sshd(self):
        if os.geteuid() == 0 and not os.path.isdir("/run/sshd"):
            os.makedirs("/run/sshd", mode=0o755, exist_ok=True)
        # A free port found now may be taken before sshd binds it: try again.
        for _attempt in range(5):
            port = _free_port()
            config = self._config(port)
            subprocess.run([self._tools["sshd"], "-t", "-f", config], check=True,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=10)
            with open(self.path("sshd.log"), "ab") as log:
                # sshd must be started by its absolute path to re-execute itself.
                process = subprocess.Popen([self._tools["sshd"], "-D", "-e", "-f", config],
                                           stdin=subprocess.DEVNULL, stdout=log,
                                           stderr=subprocess.STDOUT,
                                           preexec_fn=_die_with_parent)
            if self._wait_listening(process, port):
                self._sshd, self.port = process, port
                return
            _stop(process)
        raise RuntimeError("sshd did not start on 127.0.0.1; its log:\n%s" % self.log())

    def _wait_listening(self, process, port):
        deadline = time.monotonic() + START_TIMEOUT
        while process.poll() is None and time.monotonic() < deadline:
            try:
                with socket.create_connection(("127.0.0.1", port), timeout=2) as s:
                    if s.recv(64).startswith(b"SSH-2.0-"):
                        # The banner could be a rival's that took the port;
                        # ours is still running only if its bind succeeded.
                        time.sleep(0.1)
                        return process.poll() is None
            except OSError:
                pass
            time.sleep(0.05)
        return False

    def log(self):
        """What sshd has written so far."""
        try:
            with open(self.path("sshd.log"), "rb") as f:
                return f.read().decode(errors="replace")
        except OSError:
            return ""

    # -- the clients -----------------------------------------------------

    def _ssh_options(self):
        return ["IdentityFile=%s" % self.path("client_key"), "IdentitiesOnly=yes",
                "StrictHostKeyChecking=no", "UserKnownHostsFile=/dev/null", "BatchMode=yes",
                "LogLevel=ERROR", "ConnectTimeout=10", "ServerAliveInterval=5",
                "ServerAliveCountMax=3"]

    def _check_login(self):
        args = [self._tools["ssh"], "-F", "/dev/null", "-p", str(self.port)]
        for option in self._ssh_options():
            args += ["-o", option]
        # No shell command is allowed to run past sftp; "-s sftp" with no input
        # only proves that the key is taken and the subsystem starts.
        result = subprocess.run(args + ["-s", "%s@127.0.0.1" % self.user, "sftp"],
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                stderr=subprocess.PIPE, timeout=20)
        if result.returncode != 0:
            raise RuntimeError("ssh to the test's own sshd failed (%d): %s\nsshd's log:\n%s"
                               % (result.returncode, result.stderr.decode(errors="replace"),
                                  self.log()))

    def _mount(self, point):
        os.mkdir(point)
        log_path = point + ".log"
        args = [self._tools["sshfs"], "-f", "-F", "/dev/null", "-p", str(self.port),
                "-o", ",".join(self._ssh_options()),
                "%s@127.0.0.1:%s" % (self.user, self.shared), point]
        with open(log_path, "wb") as log:
            # In the foreground, so that this process is ours to stop.
            process = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=log,
                                       stderr=subprocess.STDOUT, preexec_fn=_die_with_parent)
        self._sshfs.append(process)
        deadline = time.monotonic() + START_TIMEOUT
        while not _mounted(point):
            if process.poll() is not None or time.monotonic() >= deadline:
                _stop(process)
                with open(log_path, "rb") as f:
                    said = f.read().decode(errors="replace").strip()
                lowered = said.lower()
                if ("fuse" in lowered or "not permitted" in lowered
                        or "permission denied" in lowered and "publickey" not in lowered):
                    raise unittest.SkipTest("sshfs could not mount (FUSE refused here): %s"
                                            % said)
                raise RuntimeError("sshfs did not mount %s: %s\nsshd's log:\n%s"
                                   % (point, said or "(no output)", self.log()))
            time.sleep(0.05)
        return point

    def _check_mounts(self):
        """Each mount shows the shared directory: a file made on the server is
        listed through every one (in a child, bounded, in case a mount hangs)."""
        probe = ".netfs-probe"
        with open(os.path.join(self.shared, probe), "w") as f:
            f.write("probe\n")
        try:
            for point in self.mounts:
                result = subprocess.run(["cat", os.path.join(point, probe)],
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                        timeout=15)
                if result.stdout != b"probe\n":
                    raise RuntimeError("%s does not show the shared directory: %s"
                                       % (point, result.stderr.decode(errors="replace")))
        finally:
            os.remove(os.path.join(self.shared, probe))

    def _unmount(self, point, process):
        unmount = self._tools["fusermount"]
        for args in ([unmount, "-u", point], [unmount, "-u", "-z", point]):
            if not _mounted(point):
                break
            subprocess.run(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=10)
        # sshfs ends by itself once unmounted; a hung one is ended here.
        try:
            process.wait(STOP_TIMEOUT)
        except subprocess.TimeoutExpired:
            _stop(process)
        if _mounted(point):
            subprocess.run(["umount", "-l", point], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=10)


if __name__ == "__main__":
    with SharedFolder() as folder:
        print("sshd on 127.0.0.1:%d as %s" % (folder.port, folder.user))
        print("server's directory: %s" % folder.shared)
        for i, point in enumerate(folder.mounts, 1):
            print("mount %d:            %s" % (i, point))
        try:
            input("Enter ends it all. ")
        except (EOFError, KeyboardInterrupt):
            pass

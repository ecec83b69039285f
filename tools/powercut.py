#!/usr/bin/env python3
"""Power cuts below the program: its own system calls, replayed onto a disk that keeps only what was flushed.

One Send Claims runs under strace. Its writes, links, renames, removals and folder changes on the
drives are replayed onto a model of the starting folders in which a file's bytes last only from the
fsync or fdatasync of that file, a folder's names only from the fsync of that folder, and both from a
syncfs of their file system. The power is cut after every replayed call; each different disk that
leaves is written back onto the real folders, the program is started on it (as the next morning),
and every claim is checked: still in the claim folder and in no opened portal, or in exactly one
opened portal, whole among the backups and named in the history. A claim in the claim folder that the opened portal has is
accepted only where the program says it cannot know whether the portal opened.

The claim folder lies on another file system than QRNWeb's own folders (/dev/shm against the current
folder), so that a flush of one does not stand in for the other.

Run from the top of the tree: python3 tools/powercut.py build/bench/contention [--plant] [-v]
--plant drops the first syncfs from the replay, as a program whose first flush did nothing; the
check must then fail. -v tells each state. Exit status 0 when every state passes (with --plant: when
some state fails).
"""
import hashlib, os, re, shutil, subprocess, sys, tempfile

CLAIMS = {"A.TXT": b"claim A\r\n" * 40, "B.TXT": b"claim B\r\n" * 40, "C.TXT": b"claim C\r\n" * 40}
CANNOT_TELL = "was cut off before QRNWeb knew whether the portal opened"


def unhex(text):
    return re.sub(r"((?:\\x[0-9a-f]{2})+)", lambda m: bytes.fromhex(m.group(1).replace("\\x", "")).decode("utf-8", "surrogateescape"), text)


def split_args(text):
    """Top-level arguments of a strace call, as written."""
    args, depth, quoted, current = [], 0, False, ""
    i = 0
    while i < len(text):
        c = text[i]
        if quoted:
            current += c
            if c == "\\":
                current += text[i + 1]
                i += 1
            elif c == '"':
                quoted = False
        elif c == '"':
            quoted, current = True, current + c
        elif c in "<{[(":
            depth, current = depth + 1, current + c
        elif c in ">}])":
            depth, current = depth - 1, current + c
        elif c == "," and depth == 0:
            args.append(current.strip())
            current = ""
        else:
            current += c
        i += 1
    if current.strip():
        args.append(current.strip())
    return args


def string_of(arg):
    return unhex(arg[1:-1]) if arg.startswith('"') else None


def fd_path(arg):
    m = re.match(r"(?:-?\d+|AT_FDCWD)<(.*)>$", arg, re.S)
    return unhex(m.group(1)) if m else None


class Disk:
    """Names and bytes as the program left them (now) and as a power cut would (durable)."""

    def __init__(self, roots):
        self.roots = roots                      # file system name -> folder
        self.next = 0
        self.data = {}                          # inode -> bytearray, now
        self.kept = {}                          # inode -> bytes, durable
        self.names, self.kept_names = {}, {}    # path -> inode
        self.folders, self.kept_folders = set(), set()
        for root in roots.values():
            for folder, subfolders, files in os.walk(root):
                for sub in subfolders:
                    self.folders.add(os.path.join(folder, sub))
                for name in files:
                    path = os.path.join(folder, name)
                    if os.path.islink(path):
                        continue
                    inode = self.new_inode()
                    with open(path, "rb") as f:
                        self.data[inode] = bytearray(f.read())
                    self.names[path] = inode
        self.sync_all()

    def new_inode(self):
        self.next += 1
        return self.next

    def fs_of(self, path):
        for name, root in self.roots.items():
            if path == root or path.startswith(root + "/"):
                return name
        return None

    def sync_all(self):
        for root in self.roots.values():
            self.syncfs(root)

    def syncfs(self, path):
        fs = self.fs_of(path)
        mine = lambda p: self.fs_of(p) == fs
        self.kept_names = {p: i for p, i in self.kept_names.items() if not mine(p)}
        self.kept_names.update({p: i for p, i in self.names.items() if mine(p)})
        self.kept_folders = {p for p in self.kept_folders if not mine(p)} | {p for p in self.folders if mine(p)}
        for p, inode in self.names.items():
            if mine(p):
                self.kept[inode] = bytes(self.data[inode])

    def fsync(self, path):
        if path in self.folders or path in self.roots.values():
            # A folder's names, and which folders it holds.
            inside = lambda p: os.path.dirname(p) == path
            self.kept_names = {p: i for p, i in self.kept_names.items() if not inside(p)}
            self.kept_names.update({p: i for p, i in self.names.items() if inside(p)})
            self.kept_folders = {p for p in self.kept_folders if not inside(p)} | {p for p in self.folders if inside(p)}
        elif path in self.names:
            inode = self.names[path]
            self.kept[inode] = bytes(self.data[inode])

    def state(self):
        return (tuple(sorted(self.kept_folders)),
                tuple(sorted((p, hashlib.sha256(self.kept.get(i, b"")).hexdigest(), i) for p, i in self.kept_names.items())))

    def write_back(self):
        """The durable disk onto the real folders: what a restart after the cut finds."""
        for root in self.roots.values():
            for entry in os.listdir(root):
                path = os.path.join(root, entry)
                if os.path.isdir(path) and not os.path.islink(path):
                    shutil.rmtree(path)
                else:
                    os.remove(path)
        for folder in sorted(self.kept_folders, key=len):
            os.makedirs(folder, exist_ok=True)
        first = {}
        for path, inode in sorted(self.kept_names.items()):
            if not os.path.isdir(os.path.dirname(path)):
                continue   # its folder itself did not last
            if inode in first:
                os.link(first[inode], path)
            else:
                with open(path, "wb") as f:
                    f.write(self.kept.get(inode, b""))
                first[inode] = path


class Replay:
    """The calls of one run that change the drives, in order, applied one at a time."""

    def __init__(self, disk, links, cwd, portal_record):
        self.disk, self.links, self.cwd, self.portal_record = disk, links, cwd, portal_record
        self.offsets = {}   # path of an open file -> where the next write goes
        self.planted = False

    def canonical(self, path, folder=None):
        if not path.startswith("/"):
            path = os.path.join(folder or self.cwd, path)
        for link, target in self.links.items():
            if path == link or path.startswith(link + "/"):
                path = target + path[len(link):]
        return os.path.normpath(path)

    def at(self, dirfd, name):
        return self.canonical(string_of(name), self.canonical(fd_path(dirfd)))

    def apply(self, call, args, result, plant):
        """True when the call touched the drives (or opened the portal)."""
        d = self.disk
        ok = result is not None and not result.startswith("-1")
        if not ok:
            return False
        if call in ("openat", "open"):
            opened = fd_path(result)
            if opened is None:
                return False
            path = self.canonical(opened)
            if path == self.portal_record:
                return "portal"
            if d.fs_of(path) is None:
                return False
            flags = args[2] if call == "openat" else args[1]
            if "O_CREAT" in flags and path not in d.names and "O_DIRECTORY" not in flags:
                inode = d.new_inode()
                d.data[inode] = bytearray()
                d.names[path] = inode
            elif "O_TRUNC" in flags and path in d.names:
                d.data[d.names[path]] = bytearray()
            self.offsets[path] = len(d.data[d.names[path]]) if "O_APPEND" in flags and path in d.names else 0
            return path in d.names
        if call in ("write", "pwrite64"):
            path = self.canonical(fd_path(args[0]))
            if path not in d.names:
                return False
            written = string_of(args[1]).encode("utf-8", "surrogateescape")[: int(result)]
            data = d.data[d.names[path]]
            at = int(args[3]) if call == "pwrite64" else self.offsets.get(path, len(data))
            data[at:at + len(written)] = written
            if call == "write":
                self.offsets[path] = at + len(written)
            return True
        if call == "ftruncate":
            path = self.canonical(fd_path(args[0]))
            if path in d.names:
                del d.data[d.names[path]][int(args[1]):]
                return True
            return False
        if call in ("link", "linkat", "rename", "renameat", "renameat2"):
            if call in ("link", "rename"):
                old, new = self.canonical(string_of(args[0])), self.canonical(string_of(args[1]))
            else:
                old, new = self.at(args[0], args[1]), self.at(args[2], args[3])
            if d.fs_of(new) is None:
                return False
            if old in d.names:
                d.names[new] = d.names[old]
                if call.startswith("rename"):
                    del d.names[old]
            return True
        if call in ("unlink", "unlinkat", "rmdir"):
            path = self.canonical(string_of(args[0])) if call != "unlinkat" else self.at(args[0], args[1])
            if d.fs_of(path) is None:
                return False
            d.names.pop(path, None)
            d.folders.discard(path)
            return True
        if call in ("mkdir", "mkdirat"):
            path = self.canonical(string_of(args[0])) if call == "mkdir" else self.at(args[0], args[1])
            if d.fs_of(path) is None:
                return False
            d.folders.add(path)
            return True
        if call in ("fsync", "fdatasync", "syncfs"):
            path = self.canonical(fd_path(args[0]))
            if d.fs_of(path) is None:
                return False
            if call == "syncfs":
                if plant and not self.planted:
                    self.planted = True
                    return True
                d.syncfs(path)
            else:
                d.fsync(path)
            return True
        if call == "sync":
            d.sync_all()
            return True
        return False


def calls(trace):
    """(call, args, result) of each completed call, unfinished ones joined."""
    pending = {}
    with open(trace, encoding="latin-1") as f:
        for line in f:
            m = re.match(r"(\d+) +(.*)$", line.rstrip("\n"))
            if not m:
                continue
            pid, text = m.groups()
            if text.endswith("<unfinished ...>"):
                pending[pid] = text[: -len("<unfinished ...>")]
                continue
            r = re.match(r"<\.\.\. \w+ resumed>(.*)$", text)
            if r:
                text = pending.pop(pid, "") + r.group(1)
            m = re.match(r"(\w+)\((.*)\) += (-?\d+(?:<.*>)?)", text, re.S)
            if m:
                call, args, result = m.groups()
                yield call, split_args(args), result


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    program, plant = os.path.abspath(sys.argv[1]), "--plant" in sys.argv
    work = tempfile.mkdtemp(prefix="powercut-", dir=os.getcwd())
    shared = tempfile.mkdtemp(prefix="powercut-", dir="/dev/shm")
    try:
        return run(program, plant, work, shared)
    finally:
        shutil.rmtree(work, ignore_errors=True)
        shutil.rmtree(shared, ignore_errors=True)


def run(program, plant, work, shared):
    drives, drive_c = os.path.join(work, "dosdevices"), os.path.join(work, "drive_c")
    claimin = os.path.join(shared, "claimin")
    os.makedirs(drives)
    os.makedirs(os.path.join(drive_c, "qrn", "claimsbu"))
    os.makedirs(os.path.join(drive_c, "program files", "mozilla firefox"))
    os.makedirs(claimin)
    os.symlink(drive_c, os.path.join(drives, "c:"))
    os.symlink(shared, os.path.join(drives, "d:"))
    with open(os.path.join(drive_c, "program files", "mozilla firefox", "firefox.exe"), "w") as f:
        f.write("#!/bin/sh\n")
    with open(os.path.join(drive_c, "qrn", "setup.fil"), "wb") as f:
        f.write(b"site-id:ab12\r\nsitefmt:NS2\r\nsitepat:D:\\CLAIMIN\r\nsitefil:*.TXT\r\n")
    # An earlier day's copy of one name: its newest copy is replaced.
    with open(os.path.join(drive_c, "qrn", "claimsbu", "B.TXT"), "wb") as f:
        f.write(b"an earlier B\r\n")
    for name, data in CLAIMS.items():
        with open(os.path.join(claimin, name), "wb") as f:
            f.write(data)
    # What the program stamps each claim as; one a power cut leaves is this very file.
    stamps = {name: os.stat(os.path.join(claimin, name)) for name in CLAIMS}

    links = {os.path.join(drives, "c:"): drive_c, os.path.join(drives, "d:"): shared}
    disk = Disk({"C": drive_c, "D": shared})
    record, trace = os.path.join(work, "sent"), os.path.join(work, "trace")
    subprocess.run(["strace", "-f", "-y", "-qq", "-s", "1000000", "-xx", "-o", trace, program, "send", drives, "0", record],
                   check=True, stderr=subprocess.DEVNULL)
    portal = {}
    with open(record + ".portal") as f:
        for line in f:
            name, digest = line.split()
            portal[name] = digest

    # The power is cut after each replayed call: each different disk, with whether the portal had
    # opened by then, is one state to start on.
    replay = Replay(disk, links, os.getcwd(), record + ".portal")
    seen, faults, step, opened = set(), 0, 0, False
    for call, args, result in [(None, None, None)] + list(calls(trace)):
        if call is not None:
            done = replay.apply(call, args, result, plant)
            if not done:
                continue
            opened = opened or done == "portal"
            step += 1
        key = (disk.state(), opened)
        if key in seen:
            continue
        seen.add(key)
        faults += check(disk, opened, portal, stamps, drives, claimin, drive_c, os.path.join(work, "after%d" % len(seen)), step, call)
    print("power cuts after each of %d replayed calls: %d different disks started on, %d faults" % (step, len(seen), faults))
    return (0 if faults else 1) if plant else (1 if faults else 0)


def check(disk, opened, portal, stamps, drives, claimin, drive_c, record, step, call):
    disk.write_back()
    # A claim the cut left whole is the file it was, with the identity and times the program stamped.
    with open(record + ".restored", "w") as f:
        for name, data in CLAIMS.items():
            path = os.path.join(claimin, name)
            if os.path.exists(path) and open(path, "rb").read() == data:
                now, was = os.stat(path), stamps[name]
                f.write("%d %d %d %d %d %d %d\n" % (now.st_dev, now.st_ino, was.st_size, was.st_mtime_ns, was.st_dev, was.st_ino, was.st_ctime_ns))
    subprocess.run([os.path.abspath(sys.argv[1]), "start", drives, record, record + ".restored"], check=True, stderr=subprocess.DEVNULL)
    told = open(record + ".messages", encoding="utf-8").read() if os.path.exists(record + ".messages") else ""
    history_file = os.path.join(drive_c, "qrn", "log", "history.txt")
    history = open(history_file, encoding="utf-8-sig").read() if os.path.exists(history_file) else ""
    faults = 0
    for name, data in CLAIMS.items():
        waiting = os.path.exists(os.path.join(claimin, name))
        sent = opened and portal.get(name[:-4] + ".NS2") == hashlib.md5(data).hexdigest()
        backups = [os.path.join(folder, name) for folder, _, files in os.walk(os.path.join(drive_c, "qrn", "claimsbu")) if name in files]
        whole = any(open(p, "rb").read() == data for p in backups)
        fault = None
        if waiting and sent and CANNOT_TELL not in told:
            fault = "went to the portal and is still in the claim folder, unmentioned: it would go twice"
        elif not waiting and not sent:
            fault = "is neither in the claim folder nor in an opened portal"
        elif not waiting and not whole:
            fault = "went to the portal and has no whole backup"
        elif not waiting and ("\t%s\t" % name) not in history:
            fault = "went to the portal and the history does not say when"
        if fault:
            print("FAULT after call %d (%s): %s %s" % (step, call, name, fault))
            faults += 1
    if "-v" in sys.argv:
        said = told.split("\n")[0][:90] if told else "nothing"
        print("after call %d (%s), portal %s: %s in the claim folder; the start said: %s"
              % (step, call, "opened" if opened else "not opened", sum(os.path.exists(os.path.join(claimin, n)) for n in CLAIMS), said))
    return faults


if __name__ == "__main__":
    sys.exit(main())

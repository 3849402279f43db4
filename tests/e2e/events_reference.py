#!/usr/bin/env python3
"""An independent expansion of iCalendar files for the comparison with the program.

Prints what tests/e2e/event_probe prints for the same calendar (a file, or a folder of
.ics files) and months: "D YYYY-MM-DD" for every local day (the time zone TZ names) that an
event covers, and "I first last minute summary" for every instance that touches the months.
It uses the icalendar package to read the files and dateutil.rrule to expand the rules,
nothing of the program. Usage: events_reference.py PATH YEAR MONTH MONTHS
"""
import datetime
import os
import sys
import time

import icalendar
from dateutil import rrule


def local(moment):
    """The local wall clock of an aware datetime, or a floating one as written."""
    if moment.tzinfo is None:
        return moment
    return datetime.datetime.fromtimestamp(moment.timestamp())


def instant(moment):
    """Seconds since 1970 of an aware datetime; a floating one is local time."""
    if moment.tzinfo is None:
        return time.mktime(moment.timetuple())
    return moment.timestamp()


def is_date(value):
    return isinstance(value, datetime.date) and not isinstance(value, datetime.datetime)


def key_of(value):
    """What identifies an instance's start: its day, or its instant."""
    return ("day", value) if is_date(value) else ("at", round(instant(value)))


def values(component, name):
    found = component.get(name)
    if found is None:
        return []
    found = found if isinstance(found, list) else [found]
    out = []
    for item in found:
        out.extend(d.dt for d in item.dts)
    return out


def span_of(event, start):
    """(days, seconds): how long each instance lasts."""
    if "DTEND" in event:
        end = event["DTEND"].dt
        if is_date(start):
            return max((end - start).days, 1), 0
        return 1, max(instant(end) - instant(start), 0)
    if "DURATION" in event:
        duration = event["DURATION"].dt
        if is_date(start):
            return max(duration.days, 1), 0
        return 1, max(duration.total_seconds(), 0)
    return 1, 0


def days_of(start, span):
    """The first and last local day an instance covers, and its start minute."""
    days, seconds = span
    if is_date(start):
        return start, start + datetime.timedelta(days=days - 1), -1
    first = local(start)
    last = first + datetime.timedelta(seconds=seconds - (1 if seconds > 0 else 0))
    return first.date(), last.date(), first.hour * 60 + first.minute


def attach(naive, zone):
    """A wall-clock time in `zone`, with the offset that zone has then."""
    if zone is None:
        return naive
    if hasattr(zone, "localize"):
        return zone.normalize(zone.localize(naive))
    return naive.replace(tzinfo=zone)


def starts(event, until):
    """The starts of an event's instances up to `until`. Rules are expanded on the wall
    clock of DTSTART's zone and each result given that zone's offset at its time."""
    start = event["DTSTART"].dt
    found = [start]
    if "RRULE" in event:
        parts = [p for p in event["RRULE"].to_ical().decode().split(";") if p]
        rule_until = None
        kept = []
        for part in parts:
            name, _, value = part.partition("=")
            if name.upper() == "UNTIL":
                rule_until = value
            else:
                kept.append(part)
        zone = None if is_date(start) else start.tzinfo
        wall = (datetime.datetime.combine(start, datetime.time()) if is_date(start)
                else start.replace(tzinfo=None))
        rule = rrule.rrulestr(";".join(kept), dtstart=wall)
        limit = until.replace(tzinfo=None) + datetime.timedelta(days=2)
        last = None
        if rule_until:
            text = rule_until.rstrip("Z")
            last = datetime.datetime.strptime(text, "%Y%m%dT%H%M%S") if "T" in text \
                else datetime.datetime.strptime(text, "%Y%m%d")
            if rule_until.endswith("Z") and zone is not None:
                last = last.replace(tzinfo=datetime.timezone.utc)
        for moment in rule.between(wall, limit, inc=True):
            value = moment.date() if is_date(start) else attach(moment, zone)
            if last is not None:
                if isinstance(last, datetime.datetime) and last.tzinfo is not None:
                    if instant(value) > last.timestamp():
                        break
                elif (datetime.datetime.combine(value, datetime.time()) if is_date(value)
                      else value.replace(tzinfo=None)) > last:
                    break
            found.append(value)
    found.extend(values(event, "RDATE"))
    return found


def expand(paths, first, last):
    until = datetime.datetime.combine(last + datetime.timedelta(days=3), datetime.time(), datetime.timezone.utc)
    events = []
    for path in paths:
        with open(path, "rb") as handle:
            data = handle.read()
        if data.startswith(b"\xef\xbb\xbf"):
            data = data[3:]
        try:
            calendar = icalendar.Calendar.from_ical(data)
        except ValueError:
            continue
        events.extend(e for e in calendar.walk("VEVENT") if "DTSTART" in e)
    replaced = {}
    for event in events:
        if "RECURRENCE-ID" in event:
            replaced.setdefault(str(event.get("UID")), set()).add(key_of(event["RECURRENCE-ID"].dt))
    marked, instances = set(), []
    for event in events:
        if str(event.get("STATUS", "")).upper() == "CANCELLED":
            continue
        start = event["DTSTART"].dt
        span = span_of(event, start)
        skip = {key_of(d) for d in values(event, "EXDATE")}
        if "RECURRENCE-ID" not in event:
            skip |= replaced.get(str(event.get("UID")), set())
        seen = set()
        for moment in starts(event, until):
            key = key_of(moment)
            if key in skip or key in seen:
                continue
            seen.add(key)
            day_first, day_last, minute = days_of(moment, span)
            if day_last < first or day_first > last:
                continue
            summary = " ".join(str(event.get("SUMMARY", "")).split())
            instances.append((day_first, day_last, minute, summary))
            day = max(day_first, first)
            while day <= min(day_last, last):
                marked.add(day)
                day += datetime.timedelta(days=1)
    return marked, instances


def main():
    path, year, month, months = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    if os.path.isdir(path):
        paths = sorted(os.path.join(path, n) for n in os.listdir(path)
                       if n.lower().endswith(".ics") and os.path.isfile(os.path.join(path, n)))
    else:
        paths = [path]
    first = datetime.date(year, month, 1)
    end_month = month - 1 + months
    last = datetime.date(year + end_month // 12, end_month % 12 + 1, 1) - datetime.timedelta(days=1)
    marked, instances = expand(paths, first, last)
    lines = ["D " + d.isoformat() for d in marked]
    lines += ["I %s %s %d %s" % (a.isoformat(), b.isoformat(), m, s) for a, b, m, s in instances]
    for line in sorted(lines):
        print(line.rstrip())


if __name__ == "__main__":
    main()

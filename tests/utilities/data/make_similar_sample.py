#!/usr/bin/env python3
"""Writes the labelled sample of the "Similar name and address" check.

Each row is one address record; ENTITY names the person it belongs to, so two rows are true
duplicates exactly when their ENTITY is the same. Duplicates are made the ways real lists get
them (nicknames, typing slips, abbreviated or spelled-out street words, units written
differently or on the second line, capitals, punctuation, a missing or longer zip, initials,
names typed into each other's field). Non-duplicates that look alike are made on purpose:
relatives at one address, the same name at another address or in another town, neighbours,
other flats of one building, Jr and Sr.

usage: make_similar_sample.py SEED COUNT > sample.csv
"""
import csv
import random
import sys

LAST = ["Smith", "Johnson", "Williams", "Brown", "Jones", "Miller", "Davis", "Garcia", "Rodriguez", "Wilson",
        "Martinez", "Anderson", "Taylor", "Thomas", "Hernandez", "Moore", "Martin", "Jackson", "Thompson", "White",
        "Lopez", "Lee", "Gonzalez", "Harris", "Clark", "Lewis", "Robinson", "Walker", "Perez", "Hall", "Young",
        "Allen", "Sanchez", "Wright", "King", "Scott", "Green", "Baker", "Adams", "Nelson", "O'Neil", "McDonald",
        "Van Dyke", "St. John", "Kowalski", "Nguyen", "Schmidt", "Dubois", "Okafor", "Fitzgerald"]
FIRST = ["Robert", "William", "James", "John", "Michael", "Richard", "Elizabeth", "Margaret", "Catherine",
         "Thomas", "David", "Joseph", "Daniel", "Steven", "Susan", "Patricia", "Jennifer", "Anthony", "Edward",
         "Mary", "Linda", "Barbara", "Karen", "Nancy", "Lisa", "Paul", "Mark", "George", "Kevin", "Brian",
         "Sarah", "Laura", "Emily", "Rachel", "Peter", "Samuel", "Nicholas", "Christopher", "Andrew", "Alexander"]
NICK = {"Robert": ["Bob", "Rob", "Bobby"], "William": ["Bill", "Will"], "James": ["Jim", "Jimmy"],
        "John": ["Jon", "Jack", "Johnny"], "Michael": ["Mike"], "Richard": ["Rick", "Dick"],
        "Elizabeth": ["Liz", "Beth", "Betty"], "Margaret": ["Peggy", "Maggie"], "Catherine": ["Kate", "Cathy"],
        "Thomas": ["Tom"], "David": ["Dave"], "Joseph": ["Joe"], "Daniel": ["Dan", "Danny"], "Steven": ["Steve"],
        "Susan": ["Sue"], "Patricia": ["Pat", "Trish"], "Jennifer": ["Jen", "Jenny"], "Anthony": ["Tony"],
        "Edward": ["Ed", "Ted"], "Peter": ["Pete"], "Samuel": ["Sam"], "Nicholas": ["Nick"],
        "Christopher": ["Chris", "Kit"], "Andrew": ["Andy", "Drew"], "Alexander": ["Alex", "Sandy"]}
# Other people a relative could be called: close spellings on purpose.
RELATIVE = {"Daniel": "Danielle", "John": "Joan", "Paul": "Paula", "Michael": "Michelle", "Robert": "Roberta",
            "Samuel": "Samantha", "George": "Georgia", "Christopher": "Christine", "Mark": "Marie", "Peter": "Petra"}
STREETS = ["Main", "Oak", "Maple", "Cedar", "Elm", "Washington", "Lake", "Hill", "Park", "Pine", "Walnut",
           "Sunset", "Lincoln", "Jackson", "Church", "Highland", "Mill", "Forest", "River", "Spring", "Second",
           "Third", "Fifth", "Madison", "Ridge", "Meadow", "Willow", "Chestnut", "Franklin", "Prospect"]
SUFFIX = [("Street", "St"), ("Avenue", "Ave"), ("Road", "Rd"), ("Drive", "Dr"), ("Lane", "Ln"),
          ("Boulevard", "Blvd"), ("Court", "Ct"), ("Place", "Pl"), ("Terrace", "Ter"), ("Parkway", "Pkwy")]
DIRS = [("North", "N"), ("South", "S"), ("East", "E"), ("West", "W"), ("", "")]
ORD = {"Second": "2nd", "Third": "3rd", "Fifth": "5th"}
UNITS = [("Apartment", "Apt"), ("Suite", "Ste"), ("Unit", "Unit")]
TOWNS = [("Springfield", "IL", "62701"), ("Madison", "WI", "53703"), ("Salem", "OR", "97301"),
         ("Dover", "DE", "19901"), ("Austin", "TX", "78701"), ("Boston", "MA", "02108"),
         ("Denver", "CO", "80202"), ("Portland", "ME", "04101"), ("Albany", "NY", "12207"),
         ("Columbus", "OH", "43215"), ("Richmond", "VA", "23219"), ("Trenton", "NJ", "08608")]


def typo(rng, word):
    if len(word) < 4:
        return word
    i = rng.randrange(1, len(word) - 1)
    kind = rng.choice(["swap", "drop", "double", "change"])
    if kind == "swap":
        return word[:i] + word[i + 1] + word[i] + word[i + 2:]
    if kind == "drop":
        return word[:i] + word[i + 1:]
    if kind == "double":
        return word[:i] + word[i] + word[i:]
    return word[:i] + rng.choice("aeiou") + word[i + 1:]


class Address:
    def __init__(self, rng):
        self.number = str(rng.randrange(1, 9900))
        self.dir = rng.choice(DIRS)
        self.name = rng.choice(STREETS)
        self.suffix = rng.choice(SUFFIX)
        self.unit = rng.choice(UNITS) + (str(rng.randrange(1, 40)) + rng.choice(["", "", "A", "B"]),) \
            if rng.random() < 0.3 else None
        self.town = rng.choice(TOWNS)

    def copy(self):
        a = Address.__new__(Address)
        a.__dict__.update(self.__dict__)
        return a

    def lines(self, rng, vary):
        long = not vary or rng.random() < 0.5
        d = self.dir[0] if long else self.dir[1] + rng.choice(["", "."])
        name = self.name
        if vary and name in ORD and rng.random() < 0.5:
            name = ORD[name]
        suffix = self.suffix[0] if (not vary or rng.random() < 0.5) else self.suffix[1] + rng.choice(["", "."])
        street = " ".join(p for p in [self.number, d, name, suffix] if p)
        street2 = ""
        if self.unit:
            word, short, ident = self.unit
            style = rng.choice(["long", "short", "hash", "line2"]) if vary else "short"
            if style == "long":
                street += " " + word + " " + ident
            elif style == "short":
                street += " " + short + " " + ident
            elif style == "hash":
                street += " #" + ident
            else:
                street2 = short + ". " + ident
        return street, street2


def render(rng, person, address, vary):
    last, first = person
    street, street2 = address.lines(rng, vary)
    city, state, zip_ = address.town
    if vary:
        r = rng.random()
        if r < 0.25:
            first = rng.choice(NICK.get(first, [first]))
        elif r < 0.35:
            first = first[0] + rng.choice(["", "."])
        elif r < 0.5:
            last = typo(rng, last)
        elif r < 0.6:
            first = typo(rng, first)
        elif r < 0.65:
            last, first = first, last
        r = rng.random()
        if r < 0.15:
            street = typo(rng, street)
        elif r < 0.25:
            zip_ = zip_ + "-" + str(rng.randrange(1000, 9999))
        elif r < 0.32:
            zip_ = ""
        elif r < 0.36:
            zip_ = zip_[:3] + zip_[4] + zip_[3]  # digits swapped
        r = rng.random()
        if r < 0.2:
            last, first, street, city = last.upper(), first.upper(), street.upper(), city.upper()
        elif r < 0.3:
            last, first, street = last.lower(), first.lower(), street.lower()
        if "'" in last and rng.random() < 0.5:
            last = last.replace("'", "")
        if "." in last and rng.random() < 0.5:
            last = last.replace(".", "")
    return [last, first, street, street2, city, state, zip_]


def main():
    seed, count = int(sys.argv[1]), int(sys.argv[2])
    rng = random.Random(seed)
    rows = []
    entity = 0

    def add(person, address, vary):
        rows.append([entity] + render(rng, person, address, vary))

    while len(rows) < count:
        entity += 1
        person = (rng.choice(LAST), rng.choice(FIRST))
        home = Address(rng)
        add(person, home, False)
        copies = rng.choices([0, 1, 2], weights=[45, 45, 10])[0]
        for _ in range(copies):
            add(person, home, True)
        r = rng.random()
        if r < 0.12:
            # a relative at the same address
            entity += 1
            other = RELATIVE.get(person[1]) or rng.choice([f for f in FIRST if f != person[1]])
            add((person[0], other), home, rng.random() < 0.5)
        elif r < 0.2:
            # the same name at another address in the same town
            entity += 1
            away = Address(rng)
            away.town = home.town
            add(person, away, False)
        elif r < 0.26:
            # the same name and street in another town
            entity += 1
            away = home.copy()
            away.town = rng.choice([t for t in TOWNS if t != home.town])
            add(person, away, False)
        elif r < 0.32:
            # next door, same last name
            entity += 1
            door = home.copy()
            door.number = str(int(home.number) + 2)
            add((person[0], rng.choice(FIRST)), door, False)
        elif r < 0.36 and home.unit:
            # the flat upstairs, same name
            entity += 1
            flat = home.copy()
            flat.unit = (home.unit[0], home.unit[1], str(int("".join(c for c in home.unit[2] if c.isdigit())) + 10))
            add(person, flat, False)
        elif r < 0.39:
            # father and son
            entity += 1
            add((person[0] + " Jr", person[1]), home, False)
    rng.shuffle(rows)
    w = csv.writer(sys.stdout, lineterminator="\n")
    w.writerow(["ENTITY", "LNAME", "FNAME", "STREET", "STREET2", "CITY", "STATE", "ZIP"])
    for r in rows:
        w.writerow(r)


if __name__ == "__main__":
    main()

// The teletrivia question table: 100 questions under the keys 1 to 80 and 90 to 109.
#include "core/Teletrivia.h"
#include <QHash>

namespace {

struct Row
{
    int key;
    const char *question;
    const char *answer;
};

// Answers are compared letter case aside and whole, so they carry no blanks at either end.
const Row kRows[] = {
    {1, "What is the largest planet in our solar system?", "jupiter"},
    {2, "How many legs does a spider have?", "eight"},
    {3, "How many strings are on most guitars?", "six"},
    {4, "What is the chemical symbol for gold?", "au"},
    {5, "What is the capital city of Canada?", "ottawa"},
    {6, "How many sides does a hexagon have?", "six"},
    {7, "What gas do plants take in from the air to make their food?", "carbon dioxide"},
    {8, "Which ocean is the largest?", "pacific"},
    {9, "How many minutes are in one full day?", "1440"},
    {10, "At how many degrees Fahrenheit does water freeze?", "32"},
    {11, "True or false? A tomato is a fruit.", "true"},
    {12, "What is the hardest natural substance on earth?", "diamond"},
    {13, "How many continents are there?", "seven"},
    {14, "In what year did people first walk on the moon? (Hint: 19__)", "1969"},
    {15, "What is the longest river in Africa?", "nile"},
    {16, "What country exports the most wool?", "australia"},
    {17, "What does the abbreviation \"CPU\" stand for?", "central processing unit"},
    {18, "How many bits are in a byte?", "eight"},
    {19, "What is the smallest prime number?", "two"},
    {20, "Which planet is known as the red planet?", "mars"},
    {21, "What is the square root of 144?", "12"},
    {22, "True or false? In a solar eclipse, the sun comes between the earth and the moon.", "false"},
    {23, "How many players does one team have on the field in a soccer match?", "eleven"},
    {24, "What is the main ingredient of guacamole?", "avocado"},
    {25, "What color do you get when you mix blue and yellow paint?", "green"},
    {26, "Name the three primary colors of light. (starting with red)", "red, green, blue"},
    {27, "What is the capital of Australia?", "canberra"},
    {28, "How many hearts does an octopus have?", "three"},
    {29, "Which metal is liquid at room temperature?", "mercury"},
    {30, "Which animal is called the ship of the desert?", "camel"},
    {31, "What is the largest mammal on earth?", "blue whale"},
    {32, "How many degrees are in a right angle?", "90"},
    {33, "What is the tallest mountain in the world? (Hint: Mount _______)", "everest"},
    {34, "Name the four planets closest to the sun. (starting with the closest)", "mercury, venus, earth, mars"},
    {35, "What language has the most native speakers in the world?", "mandarin"},
    {36, "True or false? Sound travels faster in water than in air.", "true"},
    {37, "At how many degrees Celsius does water boil at sea level?", "100"},
    {38, "How many years are in a century?", "100"},
    {39, "Which bird is often used as a symbol of peace?", "dove"},
    {40, "What is a baby kangaroo called?", "joey"},
    {41, "How many teeth does an adult human usually have?", "32"},
    {42, "What is the capital of Japan?", "tokyo"},
    {43, "Which instrument usually has 88 keys?", "piano"},
    {44, "Name the three states of matter. (starting with solid)", "solid, liquid, gas"},
    {45, "What is the largest hot desert in the world? (Hint: S_____)", "sahara"},
    {46, "How many strings does a violin have?", "four"},
    {47, "What is the largest organ of the human body?", "skin"},
    {48, "How many bones are in the adult human body?", "206"},
    {49, "What is the capital of Italy?", "rome"},
    {50, "What sweet food do bees make?", "honey"},
    {51, "True or false? Bats are blind.", "false"},
    {52, "What is the chemical formula for water?", "h2o"},
    {53, "How many days are in a leap year?", "366"},
    {54, "What kind of animal is a flying fox?", "bat"},
    {55, "What is the fastest land animal?", "cheetah"},
    {56, "What is the closest star to the earth? (Hint: you see it every day)", "sun"},
    {57, "Which planet has the best known rings?", "saturn"},
    {58, "How many sides does an octagon have?", "eight"},
    {59, "What is the capital of Egypt?", "cairo"},
    {60, "What is frozen water called?", "ice"},
    {61, "How many zeros are in one million?", "six"},
    {62, "What is the largest country in the world by area?", "russia"},
    {63, "What do you call a shape with five sides?", "pentagon"},
    {64, "What percentage of the earths surface is covered by water?", "70.9"},
    {65, "Which is the smallest planet in our solar system?", "mercury"},
    {66, "On a compass, what is the opposite of \"north\"?", "south"},
    {67, "How many hours are in a week?", "168"},
    {68, "What is the main language spoken in Brazil?", "portuguese"},
    {69, "What is the young of a frog called?", "tadpole"},
    {70, "How many strings does a standard bass guitar have?", "four"},
    {71, "What is 15 times 15?", "225"},
    {72, "Name the colors of a traffic light. (starting at the top)", "red, yellow, green"},
    {73, "Which ocean lies between Africa and Australia?", "indian"},
    {74, "In what year did the Titanic sink? (Hint: 19__)", "1912"},
    {75, "What is the longest bone in the human body?", "femur"},
    {76, "What is the capital of France?", "paris"},
    {77, "How many weeks are in a year?", "52"},
    {78, "What force pulls things down toward the earth?", "gravity"},
    {79, "True or false? The great wall of China can be seen from the moon with the naked eye.", "false"},
    {80, "How many points is a touchdown worth in American football?", "six"},
    {90, "What is the capital of Spain?", "madrid"},
    {91, "What is the largest living bird?", "ostrich"},
    {92, "How many planets are in our solar system?", "eight"},
    {93, "What gas makes up most of the air we breathe?", "nitrogen"},
    {94, "How many cents are in a quarter dollar?", "25"},
    {95, "What is the name of our galaxy? (Hint: the _____ ___)", "milky way"},
    {96, "Which continent is the coldest?", "antarctica"},
    {97, "Can fish close their eyes?", "no"},
    {98, "What is the capital of Germany?", "berlin"},
    {99, "How many legs does an insect have?", "six"},
    {100, "Which African animal has black and white stripes?", "zebra"},
    {101, "How many millimeters are in a centimeter?", "ten"},
    {102, "What is the first element on the periodic table?", "hydrogen"},
    {103, "Name the three largest oceans. (starting with the largest)", "pacific, atlantic, indian"},
    {104, "What is the capital of Russia?", "moscow"},
    {105, "How many sides does a dodecagon have?", "twelve"},
    {106, "What is the hottest planet in our solar system?", "venus"},
    {107, "In what year did the Berlin wall fall? (Hint: 19__)", "1989"},
    {108, "What is the largest island in the world?", "greenland"},
    {109, "In what year did the western Roman empire fall? (Hint: ___ a.d.)", "476"},
};

const QHash<int, trivia::Entry> &table()
{
    static const QHash<int, trivia::Entry> t = [] {
        QHash<int, trivia::Entry> h;
        for (const Row &r : kRows)
            h.insert(r.key, trivia::Entry{r.key, QString::fromLatin1(r.question), QString::fromLatin1(r.answer)});
        return h;
    }();
    return t;
}

} // namespace

namespace trivia {

const QList<int> &Keys()
{
    static const QList<int> keys = [] {
        QList<int> k;
        for (const Row &r : kRows) k.append(r.key);
        return k;
    }();
    return keys;
}

std::optional<Entry> Question(int key)
{
    const auto it = table().constFind(key);
    if (it == table().constEnd()) return std::nullopt;
    return *it;
}

} // namespace trivia
